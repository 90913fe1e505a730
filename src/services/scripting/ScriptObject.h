#pragma once

#include <boost/smart_ptr/intrusive_ptr.hpp>
#include <boost/smart_ptr/intrusive_ref_counter.hpp>

namespace kivscripting {

// An object a script holds: created through its class definition's factory, kept alive by
// the scripts that refer to it.
class ScriptObject : public boost::intrusive_ref_counter<ScriptObject, boost::thread_safe_counter> {
 public:
  virtual ~ScriptObject() = default;
};

using ScriptObjectPtr = boost::intrusive_ptr<ScriptObject>;

}  // namespace kivscripting
