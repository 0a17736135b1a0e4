// The debug-build checks of the thread labels and the audio path's allocation guard each stop a
// debug build. Release builds compile neither, so there the tests are skipped.

#include "effect_bridge/ThreadChecks.h"

#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace
{

// Where the allocations go, so that the compiler cannot drop them.
void* volatile sink = nullptr;

#ifdef NDEBUG
constexpr bool kDebugBuild = false;
#else
constexpr bool kDebugBuild = true;
#endif

// Whether this program was linked with the allocation guard.
#if defined(__SANITIZE_THREAD__) || defined(_WIN32)
constexpr bool kAllocationGuard = false;
#else
constexpr bool kAllocationGuard = kDebugBuild;
#endif

} // namespace

TEST(ThreadChecksDeathTest, EachThreadCheckStopsADebugBuildOnTheWrongThread)
{
    if (!kDebugBuild)
        GTEST_SKIP() << "the checks exist in debug builds only";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(OMBREL_ASSERT_AUDIO_THREAD(), "onAudioThread");
    EXPECT_DEATH(
        {
            const threadchecks::AudioPathScope audioThread;
            OMBREL_ASSERT_NOT_AUDIO_THREAD();
        },
        "onAudioThread");
    // No message manager exists here, so this thread is not the message thread.
    EXPECT_DEATH(OMBREL_ASSERT_MESSAGE_THREAD(), "onMessageThread");
    EXPECT_DEATH(
        {
            juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
            OMBREL_ASSERT_NOT_MESSAGE_THREAD();
        },
        "onMessageThread");

    // On the right threads they pass, and the audio thread's mark ends with its scope.
    {
        const threadchecks::AudioPathScope audioThread;
        OMBREL_ASSERT_AUDIO_THREAD();
        OMBREL_ASSERT_NOT_MESSAGE_THREAD();
    }
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    EXPECT_FALSE(threadchecks::onAudioThread());
}

TEST(ThreadChecksDeathTest, AnAllocationOnTheAudioPathStopsADebugBuild)
{
    if (!kAllocationGuard)
        GTEST_SKIP() << "the allocation guard exists in debug builds only";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            const threadchecks::AudioPathScope audioThread;
            sink = std::malloc(64);
        },
        "allocation on the audio path: malloc");
    EXPECT_DEATH(
        {
            const threadchecks::AudioPathScope audioThread;
            sink = new std::vector<int>(16);
        },
        "allocation on the audio path: operator new");
    // Growing a block made before the audio path began (a buffer too small for a block).
    void* small = std::malloc(8);
    EXPECT_DEATH(
        {
            const threadchecks::AudioPathScope audioThread;
            sink = std::realloc(small, 1 << 16);
        },
        "allocation on the audio path: realloc");
    std::free(small);

    // Outside the audio path the same allocations go through.
    void* memory = std::malloc(64);
    EXPECT_NE(nullptr, memory);
    std::free(memory);
    auto* vector = new std::vector<int>(16);
    EXPECT_EQ(16u, vector->size());
    delete vector;
}
