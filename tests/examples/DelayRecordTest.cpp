// The effect record and the calls around it as our module makes them: usable straight from the entry
// (no effOpen), the start-up sequence, the default program's sound, the editor rectangle and state,
// and no memory allocation on the audio path.

#include "DelayTestHost.h"
#include "host_kit/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using testhost::AllocationCountingWindow;

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
    {
        const AllocationCountingWindow window;
        host.chunk(0);
        ASSERT_GT(window.count().allocations, 0);
    }

    const AllocationCountingWindow window;
    for (int block = 0; block < 200; ++block)
    {
        effect->setParameter(effect, block % kExpectedParameters, static_cast<float>(block % 7) / 7.0f);
        DelayHost::state().timeInfo.tempo = 60.0 + block;
        effect->processReplacing(effect, channels, channels, 256);
    }
    EXPECT_EQ(window.count().allocations, 0);
}
