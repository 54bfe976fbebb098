// The exported wall clock, called through the header that declares it.
#include "redivi/ts.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(Now, ReturnsNonDecreasingNanosecondsSinceTheEpoch) {
  const std::uint64_t first = now();
  const std::uint64_t second = now();
  EXPECT_LE(first, second);
  // Later than 2020-01-01 and earlier than 2200-01-01.
  EXPECT_GT(first, 1'577'836'800ull * 1'000'000'000ull);
  EXPECT_LT(first, 7'258'118'400ull * 1'000'000'000ull);
}

}  // namespace
