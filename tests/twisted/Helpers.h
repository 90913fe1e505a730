#pragma once
// Small helpers for building and reading results in tests.

#include "twisted/twisted.h"

#include <boost/make_shared.hpp>

#include <string>

namespace kivtest {

inline boost::shared_ptr<twisted::result> Int(int v) { return twisted::any_value::create(v); }

// The int a result holds, or -999 when it holds something else.
inline int AsInt(const boost::shared_ptr<twisted::result>& r) {
  auto v = boost::dynamic_pointer_cast<twisted::any_value>(r);
  const int* i = v ? v->get_if<int>() : nullptr;
  return i ? *i : -999;
}

// The message of a message failure, or "" for anything else.
inline std::string Message(const boost::shared_ptr<twisted::result>& r) {
  auto f = boost::dynamic_pointer_cast<twisted::message_failure>(r);
  return f ? f->message() : std::string();
}

inline boost::shared_ptr<twisted::defer> NewDefer() { return boost::make_shared<twisted::defer>(); }

// A callback that adds n to an int result.
inline twisted::CallbackFunction Add(int n) {
  return [n](const boost::shared_ptr<twisted::result>& r) { return Int(AsInt(r) + n); };
}

}  // namespace kivtest
