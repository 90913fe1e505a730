#include "layout/SplitterPool.h"

#include <algorithm>
#include <new>

namespace kivworkspace::workspace {

SplitterPool::~SplitterPool() {
  ForEach([](Splitter* s) { s->~Splitter(); });
}

Splitter* SplitterPool::Create(LayoutManager* manager, bool vertical) {
  if (free_.empty()) {
    auto block = std::make_unique<Block>();
    // Places are given out in address order.
    for (unsigned i = kPlaces; i-- > 0;) free_.emplace_back(block.get(), i);
    const auto at =
        std::upper_bound(blocks_.begin(), blocks_.end(), block, [](const auto& a, const auto& b) {
          return reinterpret_cast<std::uintptr_t>(a.get()) <
                 reinterpret_cast<std::uintptr_t>(b.get());
        });
    blocks_.insert(at, std::move(block));
  }
  const auto [block, i] = free_.back();
  Splitter* s = new (block->places[i]) Splitter(manager, vertical);
  free_.pop_back();
  block->live |= std::uint64_t{1} << i;
  ++live_;
  return s;
}

bool SplitterPool::Destroy(Splitter* s) {
  const auto [block, i] = Find(s);
  if (!block) return false;
  s->~Splitter();
  block->live &= ~(std::uint64_t{1} << i);
  free_.emplace_back(block, i);
  --live_;
  return true;
}

std::pair<SplitterPool::Block*, unsigned> SplitterPool::Find(const Splitter* s) const {
  const auto address = reinterpret_cast<std::uintptr_t>(s);
  auto start = [](const std::unique_ptr<Block>& b) {
    return reinterpret_cast<std::uintptr_t>(b->places[0]);
  };
  // The last block that starts at or before s.
  const auto after =
      std::upper_bound(blocks_.begin(), blocks_.end(), address,
                       [&](std::uintptr_t a, const auto& b) { return a < start(b); });
  if (after == blocks_.begin()) return {nullptr, 0};
  Block* block = std::prev(after)->get();
  const std::uintptr_t offset = address - start(*std::prev(after));
  if (offset >= sizeof(block->places) || offset % sizeof(Splitter) != 0) return {nullptr, 0};
  const auto i = static_cast<unsigned>(offset / sizeof(Splitter));
  if ((block->live & (std::uint64_t{1} << i)) == 0) return {nullptr, 0};
  return {block, i};
}

}  // namespace kivworkspace::workspace
