#pragma once

#include <stdexcept>
#include <string>

namespace kivscripting {

// Thrown by a script object's method to raise an error in the script that called it.
class ScriptException : public std::runtime_error {
 public:
  ScriptException(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int GetCode() const { return code_; }

 private:
  int code_;
};

}  // namespace kivscripting
