#include "services/scripting/ScriptEngine.h"

#include "services/scripting/ScriptBridge.h"
#include "services/scripting/ScriptException.h"
#include "services/scripting/qt/ScriptHost.h"

#include <QJSEngine>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kivscripting {
namespace {

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }
std::string U(const QString& text) { return text.toUtf8().toStdString(); }

ScriptValue FromJS(const QJSValue& v) {
  if (v.isUndefined() || v.isNull()) return std::monostate{};
  if (v.isBool()) return v.toBool();
  if (v.isNumber()) return v.toNumber();
  return v.toString().toStdU16String();
}

QJSValue ToJS(const ScriptValue& v) {
  if (const auto* flag = std::get_if<bool>(&v)) return QJSValue(*flag);
  if (const auto* number = std::get_if<double>(&v)) return QJSValue(*number);
  if (const auto* text = std::get_if<kivcore::UTF16String>(&v)) return QJSValue(QString::fromStdU16String(*text));
  return QJSValue(QJSValue::UndefinedValue);
}

std::vector<ScriptValue> ArgumentList(const QJSValue& array) {
  std::vector<ScriptValue> values;
  const int length = array.property("length").toInt();
  for (int i = 0; i < length; ++i) values.push_back(FromJS(array.property(quint32(i))));
  return values;
}

// A JavaScript string literal.
std::string Quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// An expression whose value is a class's constructor, with its methods and constants.
std::string ClassScript(const ScriptClassDefinition& c) {
  const std::string name = Quote(c.name);
  std::ostringstream js;
  js << "(function() {\n"
     << "  var C = function(...args) {\n"
     << "    if (!new.target) throw new TypeError(" << Quote(c.name + " must be called with new") << ");\n"
     << "    Object.defineProperty(this, '__handle', {value: __kivHost.construct(" << name << ", args)});\n"
     << "  };\n";
  for (const ScriptMethod& m : c.methods) {
    js << "  C.prototype[" << Quote(m.name) << "] = function(...args) {\n"
       << "    return __kivHost.invoke(this.__handle, " << name << ", " << Quote(m.name) << ", args);\n"
       << "  };\n";
  }
  for (const ScriptConstant& k : c.constants) js << "  C[" << Quote(k.name) << "] = " << k.value << ";\n";
  js << "  return C;\n})()";
  return js.str();
}

// The line of the script the error happened in: the innermost frame of its stack in that
// file, since errors raised by script objects come from the classes' own code.
int ScriptLine(const QJSValue& error, const QString& fileName) {
  for (const QString& frame : error.property("stack").toString().split('\n')) {
    const qsizetype colon = frame.lastIndexOf(':');
    if (colon > 0 && frame.left(colon).endsWith(fileName)) return frame.mid(colon + 1).toInt();
  }
  return error.property("lineNumber").toInt();
}

}  // namespace

QJSValue ScriptHost::Raise(int code, const std::string& message) {
  QJSValue error = engine_.newErrorObject(QJSValue::GenericError, Q(message));
  error.setProperty("code", code);
  engine_.throwError(error);
  return QJSValue(QJSValue::UndefinedValue);
}

QJSValue ScriptHost::construct(const QString& className, const QJSValue& arguments) {
  const auto definition = ScriptBridge::Get().FindClass(U(className));
  if (!definition) return Raise(1, "no script class " + U(className));
  try {
    auto args = ScriptBridge::CheckArguments(definition->name, definition->constructorParameters, ArgumentList(arguments));
    ScriptObjectPtr object = definition->factory(args);
    if (!object) return Raise(1, definition->name + " could not be made");
    objects_[nextHandle_] = std::move(object);
    return QJSValue(nextHandle_++);
  } catch (const ScriptException& e) {
    return Raise(e.GetCode(), e.what());
  } catch (const std::exception& e) {
    return Raise(1, e.what());
  }
}

QJSValue ScriptHost::invoke(int handle, const QString& className, const QString& method, const QJSValue& arguments) {
  const auto object = objects_.find(handle);
  const auto definition = ScriptBridge::Get().FindClass(U(className));
  const ScriptMethod* m = definition ? definition->FindMethod(U(method)) : nullptr;
  if (object == objects_.end() || !m) return Raise(1, U(className) + "." + U(method) + " cannot be called here");
  try {
    auto args = ScriptBridge::CheckArguments(definition->name + "." + m->name, m->parameters, ArgumentList(arguments));
    return ToJS(m->invoke(*object->second, args));
  } catch (const ScriptException& e) {
    return Raise(e.GetCode(), e.what());
  } catch (const std::exception& e) {
    return Raise(1, e.what());
  }
}

void ScriptHost::print(const QString& text) {
  if (printHandler) {
    printHandler(U(text));
  } else {
    std::printf("%s\n", U(text).c_str());
    std::fflush(stdout);
  }
}

struct ScriptEngine::Impl {
  QJSEngine engine;
  ScriptHost host{engine};
};

ScriptEngine::ScriptEngine() : impl_(std::make_unique<Impl>()) {
  QJSEngine::setObjectOwnership(&impl_->host, QJSEngine::CppOwnership);
  QJSValue global = impl_->engine.globalObject();
  global.setProperty("__kivHost", impl_->engine.newQObject(&impl_->host));
  global.setProperty("print", impl_->engine.evaluate("(function(...a) { __kivHost.print(a.join(' ')); })"));
  for (const auto& definition : ScriptBridge::Get().GetClasses()) {
    const QJSValue constructor = impl_->engine.evaluate(Q(ClassScript(*definition)));
    if (constructor.isError()) {
      std::fprintf(stderr, "script class %s could not be defined: %s\n", definition->name.c_str(), U(constructor.toString()).c_str());
      continue;
    }
    global.setProperty(Q(definition->name), constructor);
  }
}

ScriptEngine::~ScriptEngine() {
  impl_->host.ReleaseObjects();  // while the UI they may point at still exists
}

ScriptResult ScriptEngine::Evaluate(const std::string& source, const std::string& fileName) {
  const QJSValue value = impl_->engine.evaluate(Q(source), Q(fileName));
  ScriptResult result;
  if (value.isError()) {
    result.error = U(value.toString());
    result.line = ScriptLine(value, Q(fileName));
    return result;
  }
  result.ok = true;
  if (!value.isUndefined()) result.value = U(value.toString());
  return result;
}

ScriptResult ScriptEngine::RunFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, {}, "cannot read " + path + ": " + std::strerror(errno), 0};
  std::ostringstream text;
  text << in.rdbuf();
  return Evaluate(text.str(), path);
}

void ScriptEngine::SetPrintHandler(std::function<void(const std::string&)> handler) {
  impl_->host.printHandler = std::move(handler);
}

std::size_t ScriptEngine::GetObjectCount() const { return impl_->host.GetObjectCount(); }

}  // namespace kivscripting
