// The allocation counter sees what the audio path could do behind our back: C library calls as
// well as operator new, including those made by a shared library loaded at run time, and only on
// the thread that counts.

#include "host_kit/AllocationCounter.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

using namespace testhost;

namespace
{
// Calls through a pointer the optimiser cannot see through, so no allocation is elided.
template <typename Function> Function opaque(Function function)
{
    volatile Function held = function;
    return held;
}
} // namespace

TEST(AllocationCounter, CountsEveryFormOfOperatorNewWithItsSize)
{
    AllocationCountingWindow window;
    auto one = std::make_unique<int>(7);
    auto many = std::make_unique<double[]>(10);
    struct alignas(64) Wide
    {
        char bytes[64];
    };
    auto wide = std::make_unique<Wide>();
    const auto count = window.count();
    EXPECT_EQ(3, count.allocations);
    EXPECT_GE(count.bytes, sizeof(int) + 10 * sizeof(double) + sizeof(Wide));
}

TEST(AllocationCounter, CountsTheCLibraryIncludingCallsFromALoadedLibrary)
{
    if (!countsCLibraryAllocations())
        GTEST_SKIP() << "this build counts operator new only";

    AllocationCountingWindow window;
    void* a = opaque(&std::malloc)(100);
    void* b = opaque(&std::calloc)(4, 25);
    a = opaque(&std::realloc)(a, 200);
    void* c = nullptr;
    EXPECT_EQ(0, opaque(&posix_memalign)(&c, 64, 128));
    void* d = opaque(&std::aligned_alloc)(64, 128);
    EXPECT_EQ(5, window.count().allocations);
    EXPECT_EQ(100u + 100u + 200u + 128u + 128u, window.count().bytes);
    for (void* block : {a, b, c, d})
        std::free(block);

    // A library loaded at run time resolves malloc to the program's replacement, as the module and
    // the effect do. strdup allocates inside the C library itself.
    void* libc = dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(nullptr, libc);
    auto duplicate = reinterpret_cast<char* (*)(const char*)>(dlsym(libc, "strdup"));
    ASSERT_NE(nullptr, duplicate);
    window.restart();
    char* copy = duplicate("sixteen letters.");
    EXPECT_EQ(1, window.count().allocations);
    std::free(copy);
    dlclose(libc);
}

TEST(AllocationCounter, CountsOnlyTheThreadThatOpenedTheWindowAndStopsWhenItCloses)
{
    long counted = -1;
    {
        AllocationCountingWindow window;
        std::thread other([] { std::vector<int> elsewhere(1000, 1); });
        other.join();
        counted = window.count().allocations;
    }
    // The thread's own start-up may allocate on this thread; the other thread's vector is not here.
    EXPECT_LE(counted, 2);

    AllocationCountingWindow window;
    window.restart();
    EXPECT_EQ(0, window.count().allocations);
    {
        std::vector<int> here(1000, 1);
        EXPECT_EQ(1, window.count().allocations);
    }
}
