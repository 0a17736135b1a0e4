// What the audio thread does and does not do, through the built module: automation the effect
// reports while it processes reaches the host from the message thread, never from the audio thread,
// and a block that arrives while the host thread sweeps the effect's programs to save it passes its
// input through instead of waiting for the sweep.

#include "tests/aax_adapter/AudioPathCountsReader.h"
#include "tests/aax_adapter/MainThreadAutomationHost.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "tests/aax_adapter/SavedChunks.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>

using namespace testhost;

namespace
{

constexpr int32_t kAudioThreadBlock = 256;
constexpr float kInput = 0.5f;

size_t countArrivals(const std::vector<MainThreadAutomationDelegate::Arrival>& arrivals,
                     const std::string& call)
{
    size_t count = 0;
    for (const auto& arrival : arrivals)
        count += arrival.call == call ? 1 : 0;
    return count;
}

} // namespace

TEST(AudioThread, AutomationReportedWhileProcessingReachesTheHostInOrderFromAnotherThread)
{
    TestEffectConfig config = testEffectDefaults();
    config.numParams = 4;
    config.automatedParameter = 3;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    MainThreadAutomationInstance instance(session, kStereoComponent, kAudioThreadBlock);
    ASSERT_TRUE(instance.ready());
    instance.context.SetBlockLength(kAudioThreadBlock);

    constexpr int kBlocks = 5;
    const std::thread::id audioThread = std::this_thread::get_id();
    for (int block = 0; block < kBlocks; ++block)
        RunProcess(instance.component.process, {&instance.context});
    const auto processed = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitFor([&] { return countArrivals(instance.delegate.arrivals(), "release") >= kBlocks; }));

    // Each report is a touch, a value and a release, in the order the effect made them.
    const auto arrivals = instance.delegate.arrivals();
    ASSERT_EQ(3u * kBlocks, arrivals.size());
    for (size_t i = 0; i < arrivals.size(); ++i)
    {
        EXPECT_NE(audioThread, arrivals[i].thread) << i;
        EXPECT_EQ("3", arrivals[i].id) << i;
        EXPECT_EQ(i % 3 == 0 ? "touch" : i % 3 == 1 ? "set" : "release", arrivals[i].call) << i;
    }
    for (size_t report = 1; report < kBlocks; ++report)
        EXPECT_NEAR(arrivals[3 * report + 1].value, arrivals[3 * report - 2].value + 0.01, 1e-6) << report;
    const auto delivery =
        std::chrono::duration_cast<std::chrono::microseconds>(arrivals.back().at - processed).count();
    std::cout << "automation reached the host " << delivery << " us after the last block\n";
}

// A parameter-form save sweeps every program of a slow effect on the host thread; a block arriving
// meanwhile neither waits for the sweep nor reaches the effect: its output is its input.
TEST(AudioThread, ABlockDuringTheParameterFormSweepPassesItsInputThroughWithoutWaiting)
{
    TestEffectConfig config = testEffectDefaults();
    config.numParams = 4;
    config.numPrograms = 4;
    config.chunkMode = kTestChunkNone;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, kStereoComponent, kAudioThreadBlock);
    ASSERT_TRUE(instance.ready());
    ProcessingContext& context = instance.context;
    context.SetBlockLength(kAudioThreadBlock);
    context.FillInputs(kInput);
    TestEffectLog& log = session.bundle().log();

    // Every getParameter of the sweep (16 of them) now takes 20 ms.
    config.getParameterDelayMicroseconds = 20000;
    session.bundle().configure(config);
    const int32_t callsBefore = __atomic_load_n(&log.getParameterCalls, __ATOMIC_ACQUIRE);
    AAX_Result saved = AAX_ERROR_NOT_INITIALIZED;
    std::thread host(
        [&]
        {
            SavedChunk chunk;
            saved = instance.dataModel.GetChunk(kAllChunk, &chunk);
        });
    ASSERT_TRUE(
        waitFor([&] { return __atomic_load_n(&log.getParameterCalls, __ATOMIC_ACQUIRE) > callsBefore + 1; }));
    const int processBefore = log.process.calls;
    instance.process();
    const int32_t returnedAfterBlock = __atomic_load_n(&log.getParameterReturns, __ATOMIC_ACQUIRE);
    host.join();
    const int32_t returnedAfterSave = __atomic_load_n(&log.getParameterReturns, __ATOMIC_ACQUIRE);
    EXPECT_EQ(AAX_SUCCESS, saved);

    EXPECT_LT(returnedAfterBlock, returnedAfterSave) << "the block waited for the whole sweep";
    EXPECT_EQ(processBefore, log.process.calls);
    // The host can tell: the module counts the block.
    const ModuleAudioPathCounts counts = readModuleAudioPathCounts(instance.dataModel);
    ASSERT_TRUE(counts.answered);
    EXPECT_EQ(1u, counts.passedThroughBlocks);
    EXPECT_EQ(0u, counts.droppedMidiEvents);
    for (int32_t n = 0; n < kAudioThreadBlock; ++n)
    {
        ASSERT_EQ(kInput, context.Output(0)[n]) << n;
        ASSERT_EQ(kInput, context.Output(1)[n]) << n;
    }

    // After the save the effect processes again.
    instance.process();
    EXPECT_EQ(processBefore + 1, log.process.calls);
    EXPECT_EQ(kInput + 10.0f * kInput + kTestEffectOutput0Offset, context.Output(0)[0]);
}
