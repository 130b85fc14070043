#include "tools/silk_codec/runtime/runtime.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tosilk::codec {
namespace {

constexpr uint64_t kPage = 65536;

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override { InitRuntime(); }
  void TearDown() override {
    wasm_rt_free_memory(&memory_);
    SetMemoryLimit(DefaultMemoryLimit());
  }

  // Allocates memory_ inside a guarded call, as instantiation does.
  wasm_rt_trap_t Allocate(uint64_t initial, uint64_t max) {
    initial_ = initial;
    max_ = max;
    return RunGuarded(
        [](void* self) {
          auto* test = static_cast<RuntimeTest*>(self);
          wasm_rt_allocate_memory(&test->memory_, test->initial_, test->max_, false, 65536);
        },
        this);
  }

  wasm_rt_memory_t memory_{};
  uint64_t initial_ = 0;
  uint64_t max_ = 0;
};

TEST_F(RuntimeTest, GuardedCallThatReturnsReportsNoTrap) {
  int ran = 0;
  EXPECT_EQ(RunGuarded([](void* count) { ++*static_cast<int*>(count); }, &ran), WASM_RT_TRAP_NONE);
  EXPECT_EQ(ran, 1);
}

TEST_F(RuntimeTest, TrapEndsTheCallAndComesBackAsItsKind) {
  int reached = 0;
  const wasm_rt_trap_t trap = RunGuarded(
      [](void* count) {
        wasm_rt_trap(WASM_RT_TRAP_DIV_BY_ZERO);
        ++*static_cast<int*>(count);
      },
      &reached);
  EXPECT_EQ(trap, WASM_RT_TRAP_DIV_BY_ZERO);
  EXPECT_EQ(reached, 0);
  // The next call is guarded afresh.
  EXPECT_EQ(RunGuarded([](void*) { wasm_rt_trap(WASM_RT_TRAP_HOST); }, nullptr),
            WASM_RT_TRAP_HOST);
}

TEST_F(RuntimeTest, MemoryStartsZeroedAndGrowsInPlaceUpToItsMaximum) {
  ASSERT_EQ(Allocate(1, 4), WASM_RT_TRAP_NONE);
  EXPECT_EQ(memory_.size, kPage);
  EXPECT_EQ(memory_.data[0], 0);
  EXPECT_EQ(memory_.data[kPage - 1], 0);
  memory_.data[kPage - 1] = 7;
  uint8_t* const data = memory_.data;

  EXPECT_EQ(wasm_rt_grow_memory(&memory_, 2), 1u);
  EXPECT_EQ(memory_.pages, 3u);
  EXPECT_EQ(memory_.size, 3 * kPage);
  EXPECT_EQ(memory_.data, data);
  EXPECT_EQ(memory_.data[kPage - 1], 7);
  EXPECT_EQ(memory_.data[3 * kPage - 1], 0);

  EXPECT_EQ(wasm_rt_grow_memory(&memory_, 2), UINT64_MAX);
  EXPECT_EQ(memory_.pages, 3u);
  EXPECT_EQ(wasm_rt_grow_memory(&memory_, 1), 3u);
}

TEST_F(RuntimeTest, MemoryLimitCapsGrowthAndRefusesATooLargeStart) {
  SetMemoryLimit(3 * kPage + 100);
  ASSERT_EQ(Allocate(2, 100), WASM_RT_TRAP_NONE);
  EXPECT_EQ(memory_.max_pages, 3u);
  EXPECT_EQ(wasm_rt_grow_memory(&memory_, 2), UINT64_MAX);
  EXPECT_EQ(wasm_rt_grow_memory(&memory_, 1), 2u);
  wasm_rt_free_memory(&memory_);

  EXPECT_EQ(Allocate(4, 100), WASM_RT_TRAP_EXHAUSTION);
}

TEST_F(RuntimeTest, AccessPastTheEndOfMemoryTrapsWithGuardPages) {
  if (!WASM_RT_MEMCHECK_GUARD_PAGES) GTEST_SKIP() << "this build checks accesses in software";
  ASSERT_EQ(Allocate(1, 2), WASM_RT_TRAP_NONE);
  const wasm_rt_trap_t trap = RunGuarded(
      [](void* memory) {
        auto* m = static_cast<wasm_rt_memory_t*>(memory);
        // As generated code does for an i32.load at address 0xFFFFFFF0 with
        // offset 0xFFFF: no check, only the guard region.
        volatile uint8_t* byte = m->data + 0xFFFFFFF0ull + 0xFFFF;
        (void)*byte;
      },
      &memory_);
  EXPECT_EQ(trap, WASM_RT_TRAP_OOB);

  // Once grown, the same page is usable.
  ASSERT_EQ(wasm_rt_grow_memory(&memory_, 1), 1u);
  const wasm_rt_trap_t after = RunGuarded(
      [](void* memory) { static_cast<wasm_rt_memory_t*>(memory)->data[kPage + 5] = 1; }, &memory_);
  EXPECT_EQ(after, WASM_RT_TRAP_NONE);
}

}  // namespace
}  // namespace tosilk::codec
