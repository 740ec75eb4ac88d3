#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "ball_table_guard.h"
#include "effects/metaballs.h"

// Every allocation of this test program is counted, so a test can tell
// whether a stretch of code allocated at all. Every form of new and delete is
// replaced, so that allocation and release always match (the sanitizers check).
// Its own program: libraries loaded by the GL tests bring allocators of their own.
namespace {
std::atomic<long> allocationCount{0};

void *Allocate(std::size_t size) noexcept
{
    ++allocationCount;
    return std::malloc(size ? size : 1);
}
} // namespace

void *operator new(std::size_t size)
{
    if (void *memory = Allocate(size))
        return memory;
    throw std::bad_alloc();
}

void *operator new[](std::size_t size)
{
    if (void *memory = Allocate(size))
        return memory;
    throw std::bad_alloc();
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return Allocate(size);
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return Allocate(size);
}

// Out of line: inlined into a caller, free() of what operator new returned
// would draw a mismatch warning.
[[gnu::noinline]] void operator delete(void *memory) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete[](void *memory) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete[](void *memory, std::size_t) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete(void *memory, const std::nothrow_t &) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete[](void *memory, const std::nothrow_t &) noexcept
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
