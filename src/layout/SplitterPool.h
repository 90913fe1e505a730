#pragma once

#include "layout/Splitter.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace kivworkspace::workspace {

class LayoutManager;

// Owns a layout manager's splitters. They live in blocks of 64 places, next to each other
// in memory and without an allocation header each, so that a pass over a large tree
// touches fewer cache lines. A destroyed splitter's place is the next one given out;
// finding a splitter's place is a binary search over the blocks.
class SplitterPool {
 public:
  SplitterPool() = default;
  ~SplitterPool();
  SplitterPool(const SplitterPool&) = delete;
  SplitterPool& operator=(const SplitterPool&) = delete;

  Splitter* Create(LayoutManager* manager, bool vertical);
  // Destroys s when it is one of this pool's splitters; false otherwise.
  bool Destroy(Splitter* s);
  std::size_t Size() const { return live_; }

  // Every live splitter, block by block.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const auto& block : blocks_) {
      for (std::uint64_t bits = block->live; bits != 0; bits &= bits - 1) {
        visit(block->At(static_cast<unsigned>(std::countr_zero(bits))));
      }
    }
  }

 private:
  static constexpr unsigned kPlaces = 64;
  struct alignas(64) Block {
    Splitter* At(unsigned i) { return std::launder(reinterpret_cast<Splitter*>(places[i])); }
    alignas(Splitter) std::byte places[kPlaces][sizeof(Splitter)];
    std::uint64_t live = 0;
  };
  // The block holding s and s's place in it, or a null block.
  std::pair<Block*, unsigned> Find(const Splitter* s) const;

  std::vector<std::unique_ptr<Block>> blocks_;  // ordered by address
  std::vector<std::pair<Block*, unsigned>> free_;
  std::size_t live_ = 0;
};

}  // namespace kivworkspace::workspace
