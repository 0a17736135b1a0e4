// What comes out of the delay: echo positions and levels, dry pass-through, in-place and mono
// processing, sample-rate handling, and that bad input or runaway feedback cannot break the loop.

#include "DelayTestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <ostream>
#include <random>

namespace
{
constexpr double kEchoRate = 48000.0;
constexpr int32_t kEchoBlock = 512;
constexpr float kSilence = 1.0e-6f;

// Passes when out has the given samples at the given positions (within tolerance) and nothing above
// kSilence anywhere else.
::testing::AssertionResult hasOnly(const std::vector<float>& out, const std::map<size_t, float>& expected,
                                   float tolerance = 1.0e-5f)
{
    for (size_t i = 0; i < out.size(); ++i)
    {
        const auto it = expected.find(i);
        if (it != expected.end())
        {
            if (!(std::fabs(out[i] - it->second) <= tolerance))
                return ::testing::AssertionFailure()
                       << "sample " << i << " is " << out[i] << ", expected " << it->second;
        }
        else if (!(std::fabs(out[i]) <= kSilence))
        {
            return ::testing::AssertionFailure() << "unexpected sample " << out[i] << " at " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<float> impulse(size_t frames)
{
    std::vector<float> signal(frames, 0.0f);
    signal[0] = 1.0f;
    return signal;
}

void setWetEcho(DelayHost& host, double ms, float feedback)
{
    host.setParameter(kTime, timeValue(ms));
    host.setParameter(kFeedback, feedback);
    host.setParameter(kMix, 1.0f);
    host.setParameter(kSync, 0.0f);
    host.setParameter(kHighCut, 1.0f);
}

size_t samplesFor(double ms, double rate)
{
    return static_cast<size_t>(std::lround(ms * rate / 1000.0));
}
} // namespace

struct EchoCase
{
    double ms;
    float feedback;
    int32_t block;
};

void PrintTo(const EchoCase& c, std::ostream* os)
{
    *os << c.ms << " ms, feedback " << c.feedback << ", blocks of " << c.block;
}

class DelayEcho : public ::testing::TestWithParam<EchoCase>
{
};

TEST_P(DelayEcho, ImpulseEchoesAtMultiplesOfTheTimeFallingByTheFeedback)
{
    const EchoCase c = GetParam();
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    host.prepare(kEchoRate, c.block);
    setWetEcho(host, c.ms, c.feedback);

    const size_t d = samplesFor(c.ms, kEchoRate);
    std::vector<float> left = impulse(d * 3 + d / 2);
    std::vector<float> right = impulse(left.size());
    host.processStereo(left, right, c.block);

    const std::map<size_t, float> echoes = {{d, 1.0f}, {2 * d, c.feedback}, {3 * d, c.feedback * c.feedback}};
    EXPECT_TRUE(hasOnly(left, echoes));
    EXPECT_TRUE(hasOnly(right, echoes));
}

INSTANTIATE_TEST_SUITE_P(TimesFeedbacksAndBlockSizes, DelayEcho,
                         ::testing::Values(EchoCase{250.0, 0.5f, 512}, EchoCase{100.0, 0.3f, 37},
                                           EchoCase{1.0, 0.9f, 1}, EchoCase{2000.0, 0.7f, 4096},
                                           EchoCase{333.0, 1.0f, 480}),
                         [](const ::testing::TestParamInfo<EchoCase>& info)
                         {
                             return std::to_string(static_cast<int>(info.param.ms)) + "ms_Feedback" +
                                    std::to_string(std::lround(info.param.feedback * 100.0f)) + "_Block" +
                                    std::to_string(info.param.block);
                         });

class DelayOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.ok()) << host.error();
        host.prepare(kEchoRate, kEchoBlock);
    }

    // An impulse on both channels through the delay, in blocks of kEchoBlock.
    std::vector<float> impulseResponse(size_t frames)
    {
        std::vector<float> left = impulse(frames), right = impulse(frames);
        host.processStereo(left, right, kEchoBlock);
        return left;
    }

    DelayHost host;
};

TEST_F(DelayOutput, MixZeroPassesTheInputThroughBitForBit)
{
    host.setParameter(kTime, timeValue(10.0));
    host.setParameter(kFeedback, 0.8f);
    host.setParameter(kMix, 0.0f);
    host.setParameter(kHighCut, 0.3f);

    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::vector<float> left(20000), right(20000);
    for (size_t i = 0; i < left.size(); ++i)
    {
        left[i] = noise(random);
        right[i] = noise(random);
    }
    const std::vector<float> originalLeft = left, originalRight = right;
    host.processStereo(left, right, kEchoBlock);
    EXPECT_EQ(left, originalLeft);
    EXPECT_EQ(right, originalRight);
}

TEST_F(DelayOutput, MonoInPlaceWithOnePointerForAllChannelsGivesTheSameEchoes)
{
    setWetEcho(host, 125.0, 0.5f);
    host.setParameter(kMix, 0.75f);
    const size_t d = samplesFor(125.0, kEchoRate);
    std::vector<float> mono = impulse(3 * d + 10);
    host.processMono(mono, kEchoBlock);
    EXPECT_TRUE(hasOnly(mono, {{0, 0.25f}, {d, 0.75f}, {2 * d, 0.375f}, {3 * d, 0.1875f}}));
}

TEST_F(DelayOutput, ChannelsStayApartWhenOnlyOneCarriesSignal)
{
    setWetEcho(host, 20.0, 0.6f);
    const size_t d = samplesFor(20.0, kEchoRate);
    std::vector<float> left = impulse(4 * d);
    std::vector<float> right(left.size(), 0.0f);
    host.processStereo(left, right, 100);
    EXPECT_TRUE(hasOnly(left, {{d, 1.0f}, {2 * d, 0.6f}, {3 * d, 0.36f}}));
    EXPECT_TRUE(hasOnly(right, {}));
}

TEST(DelaySampleRate, EchoTimesFollowTheRateAndRatesOutOfRangeAreIgnored)
{
    for (const double rate : {44100.0, 96000.0, 192000.0})
    {
        DelayHost host;
        ASSERT_TRUE(host.ok()) << host.error();
        host.prepare(rate, kEchoBlock);
        for (const float bad : {0.0f, -48000.0f, NAN, INFINITY, 1.0e12f})
            host.dispatch(effSetSampleRate, 0, 0, nullptr, bad);
        setWetEcho(host, 250.0, 0.0f);
        const size_t d = samplesFor(250.0, rate);
        std::vector<float> left = impulse(d + 100), right = impulse(d + 100);
        host.processStereo(left, right, kEchoBlock);
        EXPECT_TRUE(hasOnly(left, {{d, 1.0f}})) << "at " << rate << " Hz";
    }
}

TEST_F(DelayOutput, SuspendAndResumeAtTheSameRateKeepEchoesInFlight)
{
    // Our module suspends and resumes the effect whenever the host's block length changes, in the
    // middle of playback: the echoes already in the line must still come out.
    setWetEcho(host, 100.0, 0.5f);
    const size_t d = samplesFor(100.0, kEchoRate);
    impulseResponse(d / 2);

    host.prepare(kEchoRate, 256);
    std::vector<float> rest(2 * d + 10, 0.0f), restRight(2 * d + 10, 0.0f);
    host.processStereo(rest, restRight, 256);
    EXPECT_TRUE(hasOnly(rest, {{d - d / 2, 1.0f}, {2 * d - d / 2, 0.5f}}));

    // A new rate clears the line: what it held would come out at the wrong time.
    impulseResponse(100);
    host.prepare(44100.0, kEchoBlock);
    std::fill(rest.begin(), rest.end(), 0.0f);
    host.processStereo(rest, restRight, kEchoBlock);
    EXPECT_TRUE(hasOnly(rest, {}));
}

TEST_F(DelayOutput, NonFiniteInputAndRunawayFeedbackLeaveTheLineFiniteAndBounded)
{
    setWetEcho(host, 10.0, 1.0f);
    host.setParameter(kHighCut, 0.5f);
    const size_t d = samplesFor(10.0, kEchoRate);

    // Broken samples, then a steady level that 100 % feedback keeps adding up.
    std::vector<float> left(static_cast<size_t>(kEchoRate), 1.0f), right(left.size(), -1.0f);
    left[0] = NAN;
    right[0] = INFINITY;
    left[5] = -INFINITY;
    host.processStereo(left, right, kEchoBlock);
    // Samples that came in broken go out broken (their dry share is 0 x inf); all others are clean.
    for (size_t i = 1; i < left.size(); ++i)
    {
        if (i == 5)
            continue;
        ASSERT_TRUE(std::isfinite(left[i]) && std::fabs(left[i]) <= 100.0f) << left[i] << " at " << i;
        ASSERT_TRUE(std::isfinite(right[i]) && std::fabs(right[i]) <= 100.0f) << right[i] << " at " << i;
    }

    // Later input still echoes normally.
    host.setParameter(kFeedback, 0.0f);
    host.setParameter(kHighCut, 1.0f);
    std::vector<float> quiet(4 * d, 0.0f), quietRight(4 * d, 0.0f);
    host.processStereo(quiet, quietRight, kEchoBlock);
    EXPECT_NEAR(impulseResponse(2 * d)[d], 1.0f, 1.0e-4f);
}

TEST_F(DelayOutput, HighCutDarkensEachRepeatMore)
{
    setWetEcho(host, 100.0, 1.0f);
    host.setParameter(kHighCut, host.valueShowing(kHighCut, "2.0 kHz"));
    ASSERT_GE(host.parameter(kHighCut), 0.0f);

    const size_t d = samplesFor(100.0, kEchoRate);
    const std::vector<float> out = impulseResponse(3 * d + d / 2);
    // A low-passed impulse loses its peak and spreads, more with every pass through the filter.
    auto peak = [&](size_t echo)
    {
        float highest = 0.0f;
        for (size_t i = echo * d; i < echo * d + d / 2; ++i)
            highest = std::max(highest, std::fabs(out[i]));
        return highest;
    };
    EXPECT_LT(peak(1), 0.5f);
    EXPECT_GT(peak(1), 0.05f);
    EXPECT_LT(peak(2), peak(1));
    EXPECT_LT(peak(3), peak(2));
    EXPECT_TRUE(hasOnly(std::vector<float>(out.begin(), out.begin() + static_cast<long>(d)), {}));
}

TEST_F(DelayOutput, NullChannelsAndEmptyBlocksAreHarmless)
{
    float sample = 0.5f;
    float* channels[2] = {&sample, &sample};
    float* missing[2] = {&sample, nullptr};
    AEffect* effect = host.record();
    effect->processReplacing(effect, channels, channels, 0);
    effect->processReplacing(effect, channels, channels, -5);
    effect->processReplacing(effect, nullptr, nullptr, 1);
    effect->processReplacing(effect, missing, channels, 1);
    effect->processReplacing(effect, channels, missing, 1);
    EXPECT_EQ(sample, 0.5f);
}

TEST_F(DelayOutput, ParameterAndProgramChangesNeverJump)
{
    setWetEcho(host, 100.0, 0.0f);
    host.setParameter(kMix, 0.0f);

    // A 25 Hz sine moves at most 0.0033 per sample per unit of level (0.002 here when smoothed). Each
    // change below falls on a peak of the input (every 0.51 s), where the old and the new sound differ
    // by much of the level, so a change made at once would jump by far more than the limit.
    const double step = 2.0 * M_PI * 25.0 / kEchoRate;
    const size_t segment = static_cast<size_t>(0.51 * kEchoRate);
    size_t t = 0;
    float previous = 0.0f; // the last sample before the change, since that is where a jump would be
    auto largestStepOver = [&](size_t frames)
    {
        std::vector<float> left(frames), right(frames);
        for (size_t i = 0; i < frames; ++i, ++t)
            left[i] = right[i] = static_cast<float>(0.5 * std::sin(step * static_cast<double>(t)));
        host.processStereo(left, right, kEchoBlock);
        float largest = 0.0f;
        for (size_t i = 0; i < frames; ++i)
        {
            largest = std::max(largest, std::fabs(left[i] - previous));
            previous = left[i];
        }
        return largest;
    };
    constexpr float kLimit = 0.01f;
    EXPECT_LT(largestStepOver(segment), kLimit);

    host.setParameter(kMix, 1.0f);
    EXPECT_LT(largestStepOver(segment), kLimit) << "mix 0 to 1";
    host.setParameter(kTime, timeValue(310.0));
    EXPECT_LT(largestStepOver(segment), kLimit) << "time 100 to 310 ms";
    host.setParameter(kFeedback, 0.5f);
    host.setParameter(kHighCut, 0.2f);
    EXPECT_LT(largestStepOver(segment), kLimit) << "feedback and high cut";
    host.setParameter(kSync, 1.0f);
    EXPECT_LT(largestStepOver(segment), kLimit) << "sync on";
    host.dispatch(effSetProgram, 0, 5);
    EXPECT_LT(largestStepOver(2 * segment), kLimit) << "program change";
}
