#include "twisted/entry_queue.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using twisted::entry_queue;

namespace {

// Counts live objects; throws from its constructor when asked to.
struct Counted {
  static inline int live = 0;
  int value;
  explicit Counted(int v, bool fail = false) : value(v) {
    if (fail) throw std::runtime_error("refused");
    ++live;
  }
  Counted(const Counted&) = delete;
  ~Counted() { --live; }
};

std::vector<int> Contents(const entry_queue<Counted>& q) {
  std::vector<int> out;
  q.for_each([&](const Counted& c) { out.push_back(c.value); });
  return out;
}

}  // namespace

TEST(EntryQueue, KeepsOrderAndPlaceAcrossBlocksWhileAddingBehindTheFront) {
  entry_queue<Counted> q;
  int next = 0, expected = 0;
  // Add three, take two, repeatedly, the queue drained whole every fifth round: the front
  // crosses the inline slot and every block size many times.
  for (int round = 0; round < 200; ++round) {
    for (int i = 0; i < 3; ++i) q.emplace_back(next++);
    const Counted* front = &q.front();
    for (int i = 0; i < 70; ++i) q.emplace_back(next++);  // more than the largest block
    ASSERT_EQ(&q.front(), front) << "the front moved when elements were added behind it";
    const int take = round % 5 == 4 ? next - expected : 72;
    for (int i = 0; i < take; ++i, q.pop_front()) ASSERT_EQ(q.front().value, expected++);
  }
  EXPECT_EQ(q.size(), std::size_t(next - expected));
  const std::vector<int> rest = Contents(q);
  ASSERT_EQ(rest.size(), q.size());
  for (std::size_t i = 0; i < rest.size(); ++i) EXPECT_EQ(rest[i], expected + int(i));
  EXPECT_EQ(Counted::live, int(q.size()));
}

// Leaks and double frees here show under the address sanitizer.
TEST(EntryQueue, DestroysEachElementOnceAndSurvivesAThrowingConstructor) {
  {
    entry_queue<Counted> q;
    q.emplace_back(1);
    EXPECT_THROW(q.emplace_back(2, true), std::runtime_error);  // links an empty block
    EXPECT_EQ(Contents(q), std::vector<int>{1});
    q.pop_front();  // drains past the empty block
    EXPECT_TRUE(q.empty());
    EXPECT_THROW(q.emplace_back(4, true), std::runtime_error);  // into the empty queue
    EXPECT_TRUE(q.empty());
    // Empty, refilled past the inline slot, empty again, refilled: every block freed once.
    for (int i = 0; i < 2; ++i) q.emplace_back(i);
    q.pop_front();
    q.pop_front();
    q.emplace_back(5);
    q.pop_front();
    for (int i = 0; i < 10; ++i) q.emplace_back(i);
    q.pop_front();
    EXPECT_EQ(Counted::live, 9);
  }
  EXPECT_EQ(Counted::live, 0) << "elements left in a destroyed queue must be destroyed";
}
