// The parameters as a host meets them: names, units, the display texts our module probes at 101
// points, text entry, and calls with values or indices out of range.

#include "DelayTestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr int32_t kSweepPoints = 101;
constexpr size_t kVstDisplayChars = 8;

float sweepValue(int32_t k)
{
    // The same rounding our module uses when it probes: k x 0.01 in double, then to float.
    return static_cast<float>(k * 0.01);
}

std::vector<std::string> sweep(DelayHost& host, int32_t index)
{
    std::vector<std::string> texts;
    for (int32_t k = 0; k < kSweepPoints; ++k)
    {
        host.setParameter(index, sweepValue(k));
        texts.push_back(host.display(index));
    }
    return texts;
}

// How many times the text changes along the sweep, counting the first text (our module's count).
int changes(const std::vector<std::string>& texts)
{
    int count = 0;
    std::string previous;
    for (const auto& text : texts)
        if (text != previous)
        {
            ++count;
            previous = text;
        }
    return count;
}

double leadingNumber(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}
} // namespace

TEST(DelayParameters, NamesAndUnitsAreTheDocumentedOnes)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    ASSERT_EQ(host.record()->numParams, kExpectedParameters);
    const char* names[] = {"Time", "Feedback", "Mix", "Sync", "Note", "High Cut"};
    const char* labels[] = {"ms", "%", "%", "", "", ""};
    for (int32_t i = 0; i < kExpectedParameters; ++i)
    {
        EXPECT_EQ(host.name(i), names[i]);
        EXPECT_EQ(host.label(i), labels[i]);
        EXPECT_EQ(host.dispatch(effCanBeAutomated, i), 1) << names[i];
        EXPECT_LE(host.name(i).size(), kVstDisplayChars);
    }
}

TEST(DelayParameters, EveryProbedDisplayTextIsShortTerminatedAndMeaningful)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    for (int32_t index = 0; index < kExpectedParameters; ++index)
    {
        for (int32_t k = 0; k < kSweepPoints; ++k)
        {
            host.setParameter(index, sweepValue(k));
            char buffer[1024];
            std::memset(buffer, 'x', sizeof(buffer));
            host.dispatch(effGetParamDisplay, index, 0, buffer);
            const size_t length = strnlen(buffer, sizeof(buffer));
            EXPECT_GT(length, 0u) << "parameter " << index << " at " << k;
            EXPECT_LE(length, kVstDisplayChars) << "parameter " << index << " at " << k << ": " << buffer;
        }
    }
}

TEST(DelayParameters, SyncSwitchesExactlyOnceAtOneHalf)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    const auto texts = sweep(host, kSync);
    for (int32_t k = 0; k < kSweepPoints; ++k)
        EXPECT_EQ(texts[k], k < 50 ? "Off" : "On") << "at " << k;
    // Our module publishes a parameter whose texts change exactly this way as a two-state switch.
    EXPECT_EQ(changes(texts), 2);
}

TEST(DelayParameters, TimeShowsMillisecondsFromOneTo2000)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    const auto texts = sweep(host, kTime);
    EXPECT_EQ(texts.front(), "1.0");
    EXPECT_EQ(texts[10], "200");
    EXPECT_EQ(texts[50], "1000");
    EXPECT_EQ(texts.back(), "2000");
    for (int32_t k = 1; k < kSweepPoints; ++k)
        EXPECT_GT(leadingNumber(texts[k]), leadingNumber(texts[k - 1])) << texts[k];
}

TEST(DelayParameters, FeedbackAndMixShowWholePercent)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    for (const int32_t index : {kFeedback, kMix})
    {
        const auto texts = sweep(host, index);
        for (int32_t k = 0; k < kSweepPoints; ++k)
            EXPECT_EQ(texts[k], std::to_string(k));
    }
}

TEST(DelayParameters, NoteRunsThroughEveryDivisionInOrder)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    const auto texts = sweep(host, kNote);
    std::vector<std::string> order;
    for (const auto& text : texts)
        if (order.empty() || order.back() != text)
            order.push_back(text);
    const std::vector<std::string> expected = {"1/16", "1/8T", "1/8", "1/8.", "1/4", "1/4.", "1/2", "1 bar"};
    EXPECT_EQ(order, expected);
}

TEST(DelayParameters, HighCutRisesFrom200HzAndOpensAtTheTop)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    const auto texts = sweep(host, kHighCut);
    EXPECT_EQ(texts.front(), "200 Hz");
    EXPECT_EQ(texts[50], "2.0 kHz");
    EXPECT_EQ(texts.back(), "Open");
    double previousHz = 0.0;
    for (int32_t k = 0; k < kSweepPoints - 1; ++k)
    {
        const bool kilo = texts[k].find("kHz") != std::string::npos;
        ASSERT_TRUE(kilo || texts[k].find(" Hz") != std::string::npos) << texts[k];
        const double hz = leadingNumber(texts[k]) * (kilo ? 1000.0 : 1.0);
        EXPECT_GE(hz, previousHz) << texts[k];
        previousHz = hz;
    }
}

TEST(DelayParameters, EveryDisplayTextTypedBackGivesTheSameText)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    for (int32_t index = 0; index < kExpectedParameters; ++index)
    {
        for (int32_t k = 0; k < kSweepPoints; ++k)
        {
            host.setParameter(index, sweepValue(k));
            std::string text = host.display(index);
            host.setParameter(index, k < 50 ? 1.0f : 0.0f); // somewhere else
            ASSERT_EQ(host.dispatch(effString2Parameter, index, 0, text.data()), 1) << text;
            EXPECT_EQ(host.display(index), text) << "parameter " << index;
        }
    }
}

TEST(DelayParameters, TypedTextsAcceptCommonSpellings)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    auto type = [&](int32_t index, const char* text)
    {
        std::string copy = text;
        return host.dispatch(effString2Parameter, index, 0, copy.data());
    };
    EXPECT_EQ(type(kTime, " 250 ms"), 1);
    EXPECT_EQ(host.display(kTime), "250");
    EXPECT_EQ(type(kHighCut, "2,5 kHz"), 1);
    EXPECT_EQ(host.display(kHighCut), "2.5 kHz");
    EXPECT_EQ(type(kSync, "on"), 1);
    EXPECT_EQ(host.display(kSync), "On");
    EXPECT_EQ(type(kMix, "250"), 1);
    EXPECT_EQ(host.display(kMix), "100");

    const float before = host.parameter(kNote);
    EXPECT_EQ(type(kNote, "1/5"), 0);
    EXPECT_EQ(type(kTime, "soon"), 0);
    EXPECT_EQ(host.parameter(kNote), before);
    EXPECT_EQ(host.dispatch(effString2Parameter, kExpectedParameters, 0, nullptr), 0);
}

TEST(DelayParameters, ValuesOutsideZeroToOneAreLimitedAndNaNIsRefused)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    host.setParameter(kFeedback, 1.5f);
    EXPECT_EQ(host.parameter(kFeedback), 1.0f);
    host.setParameter(kFeedback, -0.25f);
    EXPECT_EQ(host.parameter(kFeedback), 0.0f);
    host.setParameter(kFeedback, 0.3f);
    host.setParameter(kFeedback, NAN);
    EXPECT_EQ(host.parameter(kFeedback), 0.3f);
}

TEST(DelayParameters, IndicesOutOfRangeAnswerNeutrallyAndTouchNothing)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    const DelaySnapshot before = DelaySnapshot::take(host);
    for (const int32_t bad : {-1, kExpectedParameters, 1000, INT32_MIN, INT32_MAX})
    {
        host.setParameter(bad, 0.7f);
        EXPECT_EQ(host.parameter(bad), 0.0f);
        EXPECT_EQ(host.name(bad), "");
        EXPECT_EQ(host.label(bad), "");
        EXPECT_EQ(host.display(bad), "");
        EXPECT_EQ(host.dispatch(effCanBeAutomated, bad), 0);
        VstParameterProperties properties{};
        EXPECT_EQ(host.dispatch(effGetParameterProperties, bad, 0, &properties), 0);
    }
    EXPECT_TRUE(DelaySnapshot::take(host) == before);
}

TEST(DelayParameters, PropertiesMarkSyncAsASwitch)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    VstParameterProperties properties{};
    ASSERT_EQ(host.dispatch(effGetParameterProperties, kSync, 0, &properties), 1);
    EXPECT_STREQ(properties.label, "Sync");
    EXPECT_NE(properties.flags & 1, 0); // the switch flag
    ASSERT_EQ(host.dispatch(effGetParameterProperties, kNote, 0, &properties), 1);
    EXPECT_EQ(properties.maxInteger - properties.minInteger + 1, 8);
}
