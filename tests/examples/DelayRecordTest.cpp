// The effect record and the calls around it as our module makes them: usable straight from the entry
// (no effOpen), the start-up sequence, the default program's sound, the editor rectangle and state,
// and no memory allocation on the audio path.

#include "DelayTestHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace
{
// Counts every allocation made through operator new in this process while counting is on: the
// effect library's own calls resolve to these replacements too.
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocations{0};

void* countedAllocation(std::size_t size) noexcept
{
    if (countingAllocations.load())
        ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

// The scalar forms are replaced as a set, so that allocation and release pair up under the address
// sanitizer too (the array forms stay the runtime's, in pairs of their own). Kept out of line: inlined
// into the test's own new/delete pairs, GCC would take malloc and free for a mismatch.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    if (void* memory = countedAllocation(size))
        return memory;
    throw std::bad_alloc();
}

__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return countedAllocation(size);
}

__attribute__((noinline)) void operator delete(void* memory) noexcept
{
    std::free(memory);
}

__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

__attribute__((noinline)) void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

TEST(DelayRecord, BothEntryNamesGiveACompleteStereoEffect)
{
    for (const char* entry : {"main", "VSTPluginMain"})
    {
        DelayHost host(entry);
        ASSERT_TRUE(host.ok()) << host.error();
        const AEffect* effect = host.record();
        EXPECT_EQ(effect->magic, kEffectMagic);
        EXPECT_EQ(effect->numInputs, 2);
        EXPECT_EQ(effect->numOutputs, 2);
        EXPECT_EQ(effect->initialDelay, 0);
        EXPECT_EQ(effect->uniqueID, vstFourCC('O', 'm', 'D', 'l'));
        EXPECT_EQ(effect->numParams, kExpectedParameters);
        EXPECT_NE(effect->flags & effFlagsHasEditor, 0);
        EXPECT_NE(effect->flags & effFlagsCanReplacing, 0);
        EXPECT_NE(effect->flags & effFlagsProgramChunks, 0);
        EXPECT_EQ(host.dispatch(9999), 0) << "unknown opcodes answer 0";
    }
}

TEST(DelayRecord, DefaultProgramStraightFromTheEntryEchoesAQuarterSecondAtHalfLevel)
{
    // No effOpen, no suspend or resume: the effect runs at 44.1 kHz with the Default program.
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    const size_t d = 11025; // 250 ms at 44.1 kHz
    std::vector<float> left(4 * d, 0.0f), right(4 * d, 0.0f);
    left[0] = right[0] = 1.0f;
    host.processStereo(left, right, 1024);
    for (const auto* channel : {&left, &right})
    {
        EXPECT_FLOAT_EQ((*channel)[0], 0.5f);
        EXPECT_FLOAT_EQ((*channel)[d], 0.5f);
        EXPECT_FLOAT_EQ((*channel)[2 * d], 0.25f);
        EXPECT_FLOAT_EQ((*channel)[3 * d], 0.125f);
        double rest = 0.0;
        for (size_t i = 0; i < channel->size(); ++i)
            if (i % d != 0)
                rest += std::fabs((*channel)[i]);
        EXPECT_LT(rest, 1.0e-5);
    }
}

TEST(DelayRecord, TheModulesStartUpSequenceWithBlockSizeZeroWorks)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    host.prepare(44100.0, 0);
    host.prepare(48000.0, 64);
    std::vector<float> left(20000, 0.0f), right(20000, 0.0f);
    left[0] = right[0] = 1.0f;
    host.processStereo(left, right, 64);
    EXPECT_FLOAT_EQ(left[12000], 0.5f); // 250 ms at 48 kHz
}

TEST(DelayRecord, EditorReportsItsRectangleAndFollowsOpenAndClose)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 300);
    EXPECT_EQ(rect->right, 500);
    EXPECT_EQ(host.dispatch(effEditGetRect, 0, 0, nullptr), 0);

    EXPECT_EQ(host.dispatch(effEditClose), 0) << "nothing is open yet";
    EXPECT_EQ(host.dispatch(effEditOpen), 0) << "no parent window";
    int window = 0;
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, &window), 1);
    host.dispatch(effEditIdle);
    EXPECT_EQ(host.dispatch(effEditClose), 1);
    // Our module may close twice (view removed, then object destroyed).
    EXPECT_EQ(host.dispatch(effEditClose), 0);
}

TEST(DelayRecord, ProcessingAllocatesNothingEvenWhileParametersMove)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    host.prepare(48000.0, 256);
    host.setParameter(kSync, 1.0f);
    std::vector<float> left(256, 0.1f), right(256, -0.1f);
    float* channels[2] = {left.data(), right.data()};
    AEffect* effect = host.record();
    effect->processReplacing(effect, channels, channels, 256);

    // The counter sees the library's allocations: saving a chunk allocates inside the effect.
    countingAllocations = true;
    host.chunk(0);
    countingAllocations = false;
    ASSERT_GT(allocations.load(), 0);

    allocations = 0;
    countingAllocations = true;
    for (int block = 0; block < 200; ++block)
    {
        effect->setParameter(effect, block % kExpectedParameters, static_cast<float>(block % 7) / 7.0f);
        DelayHost::state().timeInfo.tempo = 60.0 + block;
        effect->processReplacing(effect, channels, channels, 256);
    }
    countingAllocations = false;
    EXPECT_EQ(allocations.load(), 0);
}
