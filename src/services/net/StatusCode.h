#pragma once

#include <cstdint>

namespace kivnet {

// An HTTP status code, or one of the library's own values below 100. Any 32-bit value may
// be held (static_cast from the number).
enum StatusCode : std::int32_t {
  kStatusNoResponse = -2,      // a failure that carries no response at all
  kStatusCancelled = -1,       // the request was cancelled before it finished
  kStatusTransportFailed = 0,  // refused, reset, timed out or stalled below HTTP
  kStatusOK = 200,
  kStatusPartialContent = 206,
  kStatusNotFound = 404,
  kStatusRangeNotSatisfiable = 416,
  kStatusServiceUnavailable = 503,
};

}  // namespace kivnet
