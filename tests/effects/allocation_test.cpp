#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "ball_table_guard.h"
#include "effects/metaballs.h"

// Every allocation of this test program is counted, so a test can tell
// whether a stretch of code allocated at all.
namespace {
std::atomic<long> allocationCount{0};
} // namespace

void *operator new(std::size_t size)
{
    ++allocationCount;
    if (void *memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void *memory) noexcept
{
    std::free(memory);
}

void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

// Once the triangle list (and the polygoniser's working space) have grown to
// the largest surface seen, frames allocate nothing.
TEST(MetaballFrames, AllocateNothingOnceTheListHasGrown)
{
    BallTableGuard guard;
    for (float t = 3000.0f; t < 3400.0f; t += 20.0f)
        AnimateBalls(t);
    const long before = allocationCount;
    for (float t = 3000.0f; t < 3400.0f; t += 20.0f)
        AnimateBalls(t);
    EXPECT_EQ(allocationCount - before, 0);
    EXPECT_GT(metaballs.triangles.size(), 0u);
}

} // namespace
