// Tempo sync: with Sync on, the delay follows the host's tempo (asked for through audioMasterGetTime)
// and the Note division instead of the Time parameter.

#include "DelayTestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kSyncRate = 48000.0;
constexpr int32_t kSyncBlock = 256;

// Index of the first sample above half scale, or -1.
long firstEcho(const std::vector<float>& out)
{
    for (size_t i = 0; i < out.size(); ++i)
        if (std::fabs(out[i]) > 0.5f)
            return static_cast<long>(i);
    return -1;
}

class DelaySync : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.ok()) << host.error();
        host.prepare(kSyncRate, kSyncBlock);
        host.setParameter(kFeedback, 0.0f);
        host.setParameter(kMix, 1.0f);
        host.setParameter(kHighCut, 1.0f);
        host.setParameter(kTime, timeValue(100.0)); // must not matter while synced
        const float on = host.valueShowing(kSync, "On");
        ASSERT_GE(on, 0.0f);
        host.setParameter(kSync, on);
    }

    void selectNote(const char* text)
    {
        const float value = host.valueShowing(kNote, text);
        ASSERT_GE(value, 0.0f) << "no Note value shows " << text;
        host.setParameter(kNote, value);
    }

    // Silence first, so that earlier impulses are out of reach when the delay grows.
    long echoAfterImpulse(size_t frames)
    {
        std::vector<float> left(frames, 0.0f), right(frames, 0.0f);
        host.processStereo(left, right, kSyncBlock);
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        left[0] = right[0] = 1.0f;
        host.processStereo(left, right, kSyncBlock);
        return firstEcho(left);
    }

    DelayHost host;
};
} // namespace

TEST_F(DelaySync, QuarterNoteAt90BpmEchoesAfter666point7ms)
{
    selectNote("1/4");
    DelayHost::state().timeInfo.tempo = 90.0;
    EXPECT_EQ(echoAfterImpulse(40000), 32000);
}

TEST(DelaySyncDivisions, EveryDivisionHasItsMusicalLengthAt120Bpm)
{
    // At 120 BPM a quarter note is 500 ms, 24000 samples at 48 kHz.
    const struct
    {
        const char* text;
        long samples;
    } divisions[] = {{"1/16", 6000}, {"1/8T", 8000},  {"1/8", 12000}, {"1/8.", 18000},
                     {"1/4", 24000}, {"1/4.", 36000}, {"1/2", 48000}, {"1 bar", 96000}};
    for (const auto& division : divisions)
    {
        DelayHost host;
        ASSERT_TRUE(host.ok()) << host.error();
        host.prepare(kSyncRate, kSyncBlock);
        host.setParameter(kFeedback, 0.0f);
        host.setParameter(kMix, 1.0f);
        host.setParameter(kHighCut, 1.0f);
        host.setParameter(kSync, 1.0f);
        host.setParameter(kNote, host.valueShowing(kNote, division.text));
        std::vector<float> left(static_cast<size_t>(division.samples) + 100, 0.0f), right(left.size(), 0.0f);
        left[0] = 1.0f;
        host.processStereo(left, right, kSyncBlock);
        EXPECT_EQ(firstEcho(left), division.samples) << division.text;
    }
}

TEST_F(DelaySync, BarLengthFollowsAValidTimeSignature)
{
    selectNote("1 bar");
    DelayHost::state().timeInfo.timeSigNumerator = 3;
    DelayHost::state().timeInfo.timeSigDenominator = 4;
    DelayHost::state().timeInfo.flags |= kVstTimeSigValid;
    EXPECT_EQ(echoAfterImpulse(80000), 72000);
}

TEST_F(DelaySync, TempoIsAskedOncePerBlockOnlyWhileSynced)
{
    selectNote("1/16");
    std::vector<float> left(kSyncBlock * 10, 0.0f), right(kSyncBlock * 10, 0.0f);
    host.processStereo(left, right, kSyncBlock);
    EXPECT_EQ(DelayHost::state().timeRequests, 10);

    host.setParameter(kSync, 0.0f);
    host.processStereo(left, right, kSyncBlock);
    EXPECT_EQ(DelayHost::state().timeRequests, 10);
}

TEST_F(DelaySync, WithoutAValidTempoTheLastGoodOneStays)
{
    selectNote("1/4");
    // No transport from the start: 120 BPM.
    DelayHost::state().answersTime = false;
    EXPECT_EQ(echoAfterImpulse(30000), 24000);
    DelayHost::state().answersTime = true;
    DelayHost::state().timeInfo.tempo = 90.0;
    EXPECT_EQ(echoAfterImpulse(40000), 32000);

    // The flag says the tempo is not valid: its value must be ignored.
    DelayHost::state().timeInfo.tempo = 60.0;
    DelayHost::state().timeInfo.flags &= ~kVstTempoValid;
    EXPECT_EQ(echoAfterImpulse(40000), 32000);

    // The transport goes away, or reports nonsense: still the last good tempo.
    DelayHost::state().answersTime = false;
    EXPECT_EQ(echoAfterImpulse(40000), 32000);
    DelayHost::state().answersTime = true;
    DelayHost::state().timeInfo.flags |= kVstTempoValid;
    for (const double bad : {0.0, -120.0, static_cast<double>(NAN), 1.0e9})
    {
        DelayHost::state().timeInfo.tempo = bad;
        EXPECT_EQ(echoAfterImpulse(40000), 32000) << "tempo " << bad;
    }
}

TEST_F(DelaySync, ATempoChangeMovesTheEchoWithoutAJump)
{
    selectNote("1/8");
    DelayHost::state().timeInfo.tempo = 120.0;
    // A steady sine through the line, then the tempo changes; the output may not jump.
    const double step = 2.0 * M_PI * 220.0 / kSyncRate;
    auto sine = [&](size_t from, size_t frames)
    {
        std::vector<float> samples(frames);
        for (size_t i = 0; i < frames; ++i)
            samples[i] = static_cast<float>(0.5 * std::sin(step * static_cast<double>(from + i)));
        return samples;
    };
    const size_t frames = static_cast<size_t>(kSyncRate);
    std::vector<float> first = sine(0, frames), firstRight = first;
    std::vector<float> second = sine(frames, frames), secondRight = second;
    host.processStereo(first, firstRight, kSyncBlock);
    DelayHost::state().timeInfo.tempo = 77.0;
    host.processStereo(second, secondRight, kSyncBlock);

    // The change takes effect at the first sample of the second run, so the step into it counts.
    float largestStep = std::fabs(second[0] - first.back());
    for (size_t i = 1; i < second.size(); ++i)
        largestStep = std::max(largestStep, std::fabs(second[i] - second[i - 1]));
    EXPECT_LT(largestStep, 0.02f);
    // And it did move: after the crossfade the output is the input from the new, longer time ago.
    const size_t newDelay = static_cast<size_t>(std::lround(0.5 * 60.0 / 77.0 * kSyncRate));
    const size_t probe = frames - 100;
    EXPECT_NEAR(second[probe], 0.5 * std::sin(step * static_cast<double>(probe + frames - newDelay)), 1.0e-3);
}
