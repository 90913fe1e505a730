#pragma once
// The one object through which scripts reach the bridge's classes: the constructors and
// methods the engine defines for each class call it.

#include "services/scripting/ScriptEngine.h"
#include "services/scripting/ScriptObject.h"

#include <QJSValue>
#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QJSEngine;

namespace kivscripting {

class ScriptHost : public QObject {
  Q_OBJECT

 public:
  explicit ScriptHost(QJSEngine& engine) : engine_(engine) {}

  // Makes an object of a class from an array of arguments; returns its handle.
  Q_INVOKABLE QJSValue construct(const QString& className, const QJSValue& arguments);
  // Calls a method of the object with that handle.
  Q_INVOKABLE QJSValue invoke(int handle, const QString& className, const QString& method, const QJSValue& arguments);
  Q_INVOKABLE void print(const QString& text);

  std::function<void(const std::string&)> printHandler;
  std::size_t GetObjectCount() const { return objects_.size(); }
  void ReleaseObjects() { objects_.clear(); }

 private:
  QJSValue Raise(int code, const std::string& message);

  QJSEngine& engine_;
  std::map<int, ScriptObjectPtr> objects_;
  int nextHandle_ = 1;
};

}  // namespace kivscripting
