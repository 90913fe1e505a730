#pragma once
// A first-in first-out queue whose elements never move once they are in, whatever is added
// behind them: a deferred's walk runs an entry's function where the entry lies while that
// function may add entries.
//
// The first element lies in the queue object itself, so a deferred with one pending entry
// allocates nothing for it, and a queue that empties goes back to that slot. Further
// elements go into blocks that double in size (2, 4, ... 64 elements), so a long chain
// allocates rarely while a short one stays small.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

namespace twisted {

template <typename T>
class entry_queue {
 public:
  entry_queue() = default;
  entry_queue(const entry_queue&) = delete;
  entry_queue& operator=(const entry_queue&) = delete;
  ~entry_queue() {
    clear();
    release(head_);
  }

  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }

  // The oldest element; the queue must not be empty.
  T& front() { return *slot(head_, headIndex_); }

  template <typename... Args>
  T& emplace_back(Args&&... args) {
    if (!tail_) {
      head_ = tail_ = &inline_;
    } else if (tailUsed_ == tail_->capacity) {
      Block* block = allocate(std::min<std::uint32_t>(tail_->capacity * 2, kMaxBlock));
      tail_->next = block;
      tail_ = block;
      tailUsed_ = 0;
    }
    void* place = tail_->slots + tailUsed_;
    T* made;
    if constexpr (std::is_aggregate_v<T>) {
      made = ::new (place) T{std::forward<Args>(args)...};  // fields from the arguments
    } else {
      made = ::new (place) T(std::forward<Args>(args)...);
    }
    ++tailUsed_;
    ++size_;
    return *made;
  }

  // Destroys the oldest element; the queue must not be empty.
  void pop_front() {
    slot(head_, headIndex_)->~T();
    ++headIndex_;
    if (--size_ == 0) {
      release(head_);  // with any empty block a failed emplace linked behind it
      head_ = tail_ = nullptr;
      headIndex_ = tailUsed_ = 0;
    } else if (headIndex_ == head_->capacity) {
      Block* next = head_->next;
      release_one(head_);
      head_ = next;
      headIndex_ = 0;
    }
  }

  void clear() {
    while (!empty()) pop_front();
  }

  // Calls f on each element, oldest first.
  template <typename F>
  void for_each(F&& f) const {
    std::uint32_t index = headIndex_;
    for (const Block* block = head_; block && index < used(block); block = block->next, index = 0) {
      for (; index < used(block); ++index) f(static_cast<const T&>(*slot(block, index)));
    }
  }

 private:
  static constexpr std::uint32_t kMaxBlock = 64;

  struct Block {
    Block* next;
    std::uint32_t capacity;
    T* slots;  // raw storage for `capacity` elements
  };

  static T* slot(const Block* block, std::uint32_t index) { return std::launder(block->slots + index); }

  static Block* allocate(std::uint32_t capacity) {
    static_assert(alignof(T) <= alignof(std::max_align_t));
    constexpr std::size_t header = (sizeof(Block) + alignof(T) - 1) / alignof(T) * alignof(T);
    void* memory = ::operator new(header + capacity * sizeof(T));
    auto* block = ::new (memory) Block{nullptr, capacity, nullptr};
    block->slots = reinterpret_cast<T*>(static_cast<char*>(memory) + header);
    return block;
  }
  // Frees a consumed block; the inline one stays.
  void release_one(Block* block) {
    if (block != &inline_) ::operator delete(block);
  }
  // Frees a run of consumed blocks (after a failed emplace one may follow another).
  void release(Block* block) {
    while (block) {
      Block* next = block->next;
      release_one(block);
      block = next;
    }
    inline_.next = nullptr;
  }
  std::uint32_t used(const Block* block) const { return block == tail_ ? tailUsed_ : block->capacity; }

  alignas(T) unsigned char inlineSlot_[sizeof(T)];
  Block inline_{nullptr, 1, reinterpret_cast<T*>(inlineSlot_)};
  Block* head_ = nullptr;
  Block* tail_ = nullptr;
  std::uint32_t headIndex_ = 0;
  std::uint32_t tailUsed_ = 0;
  std::size_t size_ = 0;
};

}  // namespace twisted
