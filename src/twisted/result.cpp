#include "twisted/result.h"

#include <algorithm>

namespace twisted {

bool defer_list_value::success() const {
  return std::all_of(entries_.begin(), entries_.end(), [](const entry& e) { return e.first; });
}

}  // namespace twisted
