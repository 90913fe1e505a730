#pragma once
// The one rule by which exceptions of a caller's code become failures: an int becomes an
// errcode_failure, an HTTPException an http_failure, any other std::exception a
// message_failure with its what(). Anything else is not caught.

#include "twisted/errors.h"
#include "twisted/failure.h"

#include <exception>

namespace twisted {

// Calls f and returns what it returns; when it throws one of the mapped exceptions,
// stores the failure in failed and returns a default-constructed value instead.
template <typename F>
auto invoke_mapping_exceptions(F&& f, boost::shared_ptr<failure>& failed) -> decltype(f()) {
  try {
    return f();
  } catch (int code) {
    failed = errcode_failure::create(code);
  } catch (const HTTPException& e) {
    failed = http_failure::create(e);
  } catch (const std::exception& e) {
    failed = message_failure::create(e.what());
  }
  return {};
}

}  // namespace twisted
