#include "services/core/Guid.h"
#include "services/core/PixelFraction.h"
#include "services/core/RectT.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <unordered_set>

using namespace kivcore;

TEST(RectT, ContainmentIsHalfOpenAndEmptyContainsNothing) {
  const Rect r{10, 20, 30, 40};
  EXPECT_TRUE(r.Contains(Point{10, 20}));
  EXPECT_TRUE(r.Contains(Point{39, 59}));
  EXPECT_FALSE(r.Contains(Point{40, 20}));
  EXPECT_FALSE(r.Contains(Point{10, 60}));
  EXPECT_FALSE(r.Contains(Point{9, 20}));
  EXPECT_TRUE((Rect{0, 0, 0, 5}).IsEmpty());
  EXPECT_TRUE((Rect{0, 0, 5, -1}).IsEmpty());
  EXPECT_FALSE((Rect{0, 0, 0, 5}).Contains(Point{0, 0}));
  EXPECT_TRUE((RectF{0, 0, 0.5f, 2}).IsEmpty());
  EXPECT_TRUE((RectF{0, 0, 1.5f, 2}).Contains(PointF{1.4f, 1.9f}));
}

TEST(RectT, IntersectionAndUnion) {
  const Rect a{0, 0, 10, 10}, b{5, 5, 10, 10}, c{10, 0, 5, 5};
  EXPECT_EQ(a.Intersection(b), (Rect{5, 5, 5, 5}));
  EXPECT_TRUE(a.Intersection(c).IsEmpty());  // touching edges do not overlap
  EXPECT_FALSE(a.Intersects(c));
  EXPECT_EQ(a.Union(b), (Rect{0, 0, 15, 15}));
  EXPECT_EQ(a.Union(Rect{}), a);
  EXPECT_TRUE(a.Contains(Rect{2, 2, 8, 8}));
  EXPECT_FALSE(a.Contains(Rect{2, 2, 9, 8}));
}

TEST(PixelFraction, FloatArithmeticWithTruncation) {
  EXPECT_EQ(FractionToPixel(100.0f, 0.5f, 0.0f), 50);
  EXPECT_EQ(FractionToPixel(101.0f, 0.5f, 0.0f), 51);  // 50.5 + 0.5 = 51
  EXPECT_EQ(FractionToPixel(99.0f, 0.333f, 10.0f), 43);  // 32.967 + 10.5 -> 43
  // Truncation toward zero, not flooring: -3.7 + 0.5 = -3.2 gives -3.
  EXPECT_EQ(FractionToPixel(10.0f, 0.5f, -8.7f), -3);
  // Single precision: 16777215 + 0.5 needs 25 bits and rounds to even, 16777216; the
  // same sum in double would truncate to 16777215.
  EXPECT_EQ(FractionToPixel(16777215.0f, 1.0f, 0.0f), 16777216);
  EXPECT_FLOAT_EQ(PixelToFraction(75.0f, 25.0f, 100.0f), 0.5f);
  EXPECT_EQ(PixelToStoredFraction(200.0f, 0.0f, 100.0f), 1.0f);
  EXPECT_EQ(PixelToStoredFraction(-5.0f, 0.0f, 100.0f), 0.0f);
  EXPECT_EQ(PixelToFraction(5.0f, 0.0f, 0.0f), 0.0f);
}

TEST(Guid, UniqueAcrossThreadsAndPrintable) {
  std::vector<Guid> ids(4000);
  std::thread other([&] {
    for (std::size_t i = 0; i < 2000; ++i) ids[i] = Guid::CreateUnique();
  });
  for (std::size_t i = 2000; i < 4000; ++i) ids[i] = Guid::CreateUnique();
  other.join();
  EXPECT_EQ(std::set<Guid>(ids.begin(), ids.end()).size(), ids.size());
  EXPECT_EQ(std::unordered_set<Guid>(ids.begin(), ids.end()).size(), ids.size());

  const Guid g = ids.front();
  const std::string text = g.ToString();
  ASSERT_EQ(text.size(), 36u);
  EXPECT_EQ(Guid::FromString(text), g);
  EXPECT_FALSE(g.IsNull());
  EXPECT_TRUE(Guid().IsNull());
  EXPECT_FALSE(Guid::FromString("not-a-guid"));
  EXPECT_FALSE(Guid::FromString("0123456789ab-cdef-0123-456789abcdef0"));
}
