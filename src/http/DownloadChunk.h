#pragma once

#include "services/core/Guid.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>

namespace twisted {
class defer;
}

namespace kivworkspace::http {

// One byte range of a download. Only the first three fields are part of the resume record.
struct DownloadChunk {
  std::uint64_t mStartByte = 0;
  std::uint64_t mEndByte = 0;  // inclusive
  bool mComplete = false;
  kivcore::Guid id = kivcore::Guid::CreateUnique();
  boost::shared_ptr<twisted::defer> deferred;  // only while its request runs
};

}  // namespace kivworkspace::http
