#pragma once

#include <cstdint>

namespace kivcore::threads {

// The operating system's id of the calling thread (as debuggers and `top -H` show it).
std::uint64_t GetCurrentThreadID();

}  // namespace kivcore::threads
