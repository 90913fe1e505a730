#include "services/core/ThreadID.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace kivcore::threads {

std::uint64_t GetCurrentThreadID() {
  thread_local const auto id = static_cast<std::uint64_t>(::syscall(SYS_gettid));
  return id;
}

}  // namespace kivcore::threads
