// The parameters as a host meets them: names, units, the display texts our module probes at 101
// points, text entry, and calls with values or indices out of range.

#include "DelayTestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr size_t kVstDisplayChars = 8;

// The display texts at 0.00, 0.01 ... 1.00, the values our module probes (k x 0.01 in double, then
// float). Each text must be terminated within the VST convention's 8 characters in a 1024-byte buffer.
std::vector<std::string> sweep(DelayHost& host, int32_t index)
{
    std::vector<std::string> texts;
    for (int32_t k = 0; k < kSweepPoints; ++k)
    {
        host.setParameter(index, static_cast<float>(k * 0.01));
        char buffer[1024];
        std::memset(buffer, 'x', sizeof(buffer));
        host.dispatch(effGetParamDisplay, index, 0, buffer);
        const size_t length = strnlen(buffer, sizeof(buffer));
        EXPECT_GT(length, 0u) << "parameter " << index << " at " << k;
        EXPECT_LE(length, kVstDisplayChars) << "parameter " << index << " at " << k;
        texts.emplace_back(buffer, length);
    }
    return texts;
}

// The distinct texts in sweep order.
std::vector<std::string> runs(const std::vector<std::string>& texts)
{
    std::vector<std::string> order;
    for (const auto& text : texts)
        if (order.empty() || order.back() != text)
            order.push_back(text);
    return order;
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
    }
}

TEST(DelayParameters, ProbedDisplayTextsReadSensiblyAcrossTheWholeSweep)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();

    // Sync changes exactly once, at 0.50: our module publishes such a parameter as a switch.
    const auto sync = sweep(host, kSync);
    for (int32_t k = 0; k < kSweepPoints; ++k)
        EXPECT_EQ(sync[k], k < 50 ? "Off" : "On") << "at " << k;

    const auto time = sweep(host, kTime);
    EXPECT_EQ(time.front(), "1.0");
    EXPECT_EQ(time[10], "200");
    EXPECT_EQ(time.back(), "2000");
    for (int32_t k = 1; k < kSweepPoints; ++k)
        EXPECT_GT(leadingNumber(time[k]), leadingNumber(time[k - 1])) << time[k];

    for (const int32_t percent : {kFeedback, kMix})
    {
        const auto texts = sweep(host, percent);
        for (int32_t k = 0; k < kSweepPoints; ++k)
            EXPECT_EQ(texts[k], std::to_string(k));
    }

    const std::vector<std::string> notes = {"1/16", "1/8T", "1/8", "1/8.", "1/4", "1/4.", "1/2", "1 bar"};
    EXPECT_EQ(runs(sweep(host, kNote)), notes);

    const auto cut = sweep(host, kHighCut);
    EXPECT_EQ(cut.front(), "200 Hz");
    EXPECT_EQ(cut[50], "2.0 kHz");
    EXPECT_EQ(cut[99], "19.1 kHz");
    EXPECT_EQ(cut.back(), "Open");
    double previousHz = 0.0;
    for (int32_t k = 0; k < kSweepPoints - 1; ++k)
    {
        const bool kilo = cut[k].find(" kHz") != std::string::npos;
        ASSERT_TRUE(kilo || cut[k].find(" Hz") != std::string::npos) << cut[k];
        const double hz = leadingNumber(cut[k]) * (kilo ? 1000.0 : 1.0);
        EXPECT_GE(hz, previousHz) << cut[k];
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
            host.setParameter(index, static_cast<float>(k * 0.01));
            std::string text = host.display(index);
            host.setParameter(index, k < 50 ? 1.0f : 0.0f); // somewhere else
            ASSERT_EQ(host.dispatch(effString2Parameter, index, 0, text.data()), 1) << text;
            EXPECT_EQ(host.display(index), text) << "parameter " << index;
        }
    }
    // A decimal comma and a unit are read too; text that means nothing changes nothing.
    std::string typed = "2,5 kHz";
    EXPECT_EQ(host.dispatch(effString2Parameter, kHighCut, 0, typed.data()), 1);
    EXPECT_EQ(host.display(kHighCut), "2.5 kHz");
    const float before = host.parameter(kNote);
    typed = "1/5";
    EXPECT_EQ(host.dispatch(effString2Parameter, kNote, 0, typed.data()), 0);
    EXPECT_EQ(host.parameter(kNote), before);
}

TEST(DelayParameters, OutOfRangeValuesAreLimitedAndBadIndicesOrNaNChangeNothing)
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

    const DelaySnapshot before = DelaySnapshot::take(host);
    for (const int32_t bad : {-1, kExpectedParameters, INT32_MIN, INT32_MAX})
    {
        host.setParameter(bad, 0.7f);
        EXPECT_EQ(host.parameter(bad), 0.0f);
        EXPECT_EQ(host.name(bad), "");
        EXPECT_EQ(host.label(bad), "");
        EXPECT_EQ(host.display(bad), "");
        EXPECT_EQ(host.dispatch(effCanBeAutomated, bad), 0);
        EXPECT_EQ(host.dispatch(effString2Parameter, bad, 0, nullptr), 0);
        VstParameterProperties properties{};
        EXPECT_EQ(host.dispatch(effGetParameterProperties, bad, 0, &properties), 0);
    }
    EXPECT_TRUE(DelaySnapshot::take(host) == before);
}
