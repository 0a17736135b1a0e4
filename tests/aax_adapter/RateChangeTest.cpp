// A host changing the sample rate of a live instance, without releasing it: the block that first
// runs at the new rate passes its input through, the effect is prepared again off the audio thread
// (suspended, given the rate, resumed) and the host is told the latency the effect has at that rate;
// the blocks after that reach the effect, which runs at the new rate.

#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "tests/support/BuiltEffects.h"
#include "tests/support/TestEffectLibrary.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/HostController.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <thread>

using namespace testhost;

namespace
{

constexpr int32_t kRateChangeBlock = 128;
constexpr float kInput = 0.25f;
// The test effect's look-ahead: two samples per kHz of its rate.
constexpr int32_t kDelayPerKilohertz = 2;

int32_t loggedCalls(const TestEffectLog& log)
{
    return __atomic_load_n(&log.count, __ATOMIC_ACQUIRE);
}

} // namespace

TEST(RateChange, ALiveInstanceFollowsEachNewRateOffTheAudioThreadAndReportsItsLatency)
{
    TestEffectConfig config = testEffectDefaults();
    config.delaySamplesPerKilohertz = kDelayPerKilohertz;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, kStereoComponent, kRateChangeBlock);
    ASSERT_TRUE(instance.ready());
    ProcessingContext& context = instance.context;
    HostController& controller = *instance.dataModel.Controller();
    const TestEffectLog& log = session.bundle().log();
    context.SetBlockLength(kRateChangeBlock);
    context.FillInputs(kInput);
    instance.process();
    ASSERT_EQ(testEffectOutput0(kInput, kInput), context.Output(0)[0]);
    EXPECT_EQ(96, controller.SignalLatency());

    const uintptr_t audioThread = std::hash<std::thread::id>{}(std::this_thread::get_id());
    // Rates the effect takes as they are, a fractional one among them, and back to the first.
    for (const float rate : {96000.0f, 44144.1f, 22050.0f, 192000.0f, 48000.0f})
    {
        SCOPED_TRACE(rate);
        session.host().config.sampleRate = rate;
        context.SetSampleRate(rate);
        const int32_t before = loggedCalls(log);
        const int64_t reports = controller.SignalLatencyReports();
        const int processed = log.process.calls;

        // The first block at the new rate: the input, untouched by an effect prepared for another.
        context.FillInputs(kInput);
        instance.process();
        EXPECT_EQ(processed, log.process.calls);
        for (int32_t n = 0; n < kRateChangeBlock; ++n)
        {
            ASSERT_EQ(kInput, context.Output(0)[n]) << n;
            ASSERT_EQ(kInput, context.Output(1)[n]) << n;
        }

        // Meanwhile the message thread prepares the effect and tells the host its new latency.
        ASSERT_TRUE(waitFor([&] { return controller.SignalLatencyReports() > reports; }));
        const int suspend = findEffectCall(log, kTestCallDispatcher, effMainsChanged, before);
        const int given = findEffectCall(log, kTestCallDispatcher, effSetSampleRate, before);
        ASSERT_GE(suspend, 0);
        ASSERT_GT(given, suspend);
        const int resume = findEffectCall(log, kTestCallDispatcher, effMainsChanged, given);
        ASSERT_GT(resume, given);
        EXPECT_EQ(0, log.calls[suspend].value);
        EXPECT_EQ(1, log.calls[resume].value);
        EXPECT_EQ(rate, log.calls[given].opt);
        EXPECT_NE(audioThread, __atomic_load_n(&log.sampleRateThread, __ATOMIC_ACQUIRE));
        EXPECT_EQ(static_cast<int32_t>(rate / 1000.0f * kDelayPerKilohertz), controller.SignalLatency());

        // From now on the blocks reach the effect, which hears the new rate when it asks.
        context.FillInputs(kInput);
        instance.process();
        EXPECT_EQ(processed + 1, log.process.calls);
        EXPECT_EQ(testEffectOutput0(kInput, kInput), context.Output(0)[kRateChangeBlock - 1]);
        EXPECT_EQ(static_cast<intptr_t>(rate), session.bundle().callHostFromEffect(audioMasterGetSampleRate));
        // Only one preparation per change.
        EXPECT_EQ(-1, findEffectCall(log, kTestCallDispatcher, effSetSampleRate, given + 1));
    }
}

TEST(RateChange, AContextWithoutARateRunsAtTheRateGivenOnCreation)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, kMonoToStereoComponent, kRateChangeBlock);
    ASSERT_TRUE(instance.ready());
    ProcessingContext& context = instance.context;
    const TestEffectLog& log = session.bundle().log();
    context.SetBlockLength(kRateChangeBlock);
    // Hosts that fill the field with nothing usable: the effect keeps processing as prepared.
    for (const float unusable : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN()})
    {
        context.SetSampleRate(unusable);
        const int32_t before = loggedCalls(log);
        const int processed = log.process.calls;
        context.FillInputs(kInput);
        instance.process();
        EXPECT_EQ(processed + 1, log.process.calls) << unusable;
        EXPECT_EQ(-1, findEffectCall(log, kTestCallDispatcher, effSetSampleRate, before)) << unusable;
    }

    // A new rate on mono to stereo: the input passes, the output without an input is silent.
    context.SetSampleRate(88200.0f);
    context.FillInputs(kInput);
    std::fill(context.Output(1), context.Output(1) + kRateChangeBlock, 3.0f);
    instance.process();
    EXPECT_EQ(kInput, context.Output(0)[0]);
    EXPECT_EQ(0.0f, context.Output(1)[0]);
    EXPECT_EQ(0.0f, context.Output(1)[kRateChangeBlock - 1]);
}
