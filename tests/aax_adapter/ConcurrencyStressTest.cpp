// Several seconds of everything a real session does at once, through the built module and the test
// host: the host thread writes, reads, touches, saves and restores while the audio thread processes,
// the effect automates from inside every block and asks for display updates all the time, and the
// GUI object idles. The session then restores a known state, which must be what the host and the
// effect hold afterwards, and is torn down while a refresh is pending.

#include "tests/aax_adapter/MainThreadAutomationHost.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/SavedChunks.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

using namespace testhost;

namespace
{

constexpr int32_t kParameters = 8;
// The effect moves its last parameter itself; the host leaves that one alone.
constexpr int32_t kAutomated = kParameters - 1;
constexpr auto kStressTime = std::chrono::seconds(4);
// Blocks come at a steady pace, as from a real audio interface, not in a loop that starves the rest.
constexpr auto kBlockPeriod = std::chrono::microseconds(200);

std::string idOf(int32_t index)
{
    return std::to_string(index);
}

// The effect asks for a display update; true once the refresh it starts (or one already pending)
// has reported what changed to the host (its last call into the effect reads the program, and
// nothing else reads it meanwhile), whose automation requests are then handed back to the data
// model.
bool refreshAndDeliver(PlugInSession& session, DataModelInstance& dataModel)
{
    const TestEffectLog& log = session.bundle().log();
    const int programReads = __atomic_load_n(&log.getProgramCalls, __ATOMIC_ACQUIRE);
    session.bundle().callHostFromEffect(audioMasterUpdateDisplay);
    if (!waitFor([&] { return __atomic_load_n(&log.getProgramCalls, __ATOMIC_ACQUIRE) > programReads; }))
        return false;
    dataModel.DeliverAutomation();
    return true;
}

// The effect of every session here: a few parameters and programs, one of them moved by the effect.
TestEffectConfig stressedEffect(int32_t chunkMode)
{
    TestEffectConfig config = testEffectDefaults();
    config.numParams = kParameters;
    config.numPrograms = 4;
    config.chunkMode = chunkMode;
    config.automatedParameter = kAutomated;
    return config;
}

void runSession(int32_t chunkMode)
{
    TestEffectConfig config = stressedEffect(chunkMode);
    // A display update shortly after each refresh has become due: refreshes run all the time.
    config.displayRequestIntervalMilliseconds = 350;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    const TestEffectLog& log = session.bundle().log();
    // Only what the test reads is recorded: the rest of the log would grow without bound.
    session.host().Log().SetEnabled(false);

    auto dataModel = std::make_unique<DataModelInstance>(session.host(), session.dataModelFactory());
    ASSERT_EQ(AAX_SUCCESS, dataModel->InitializeResult());
    auto gui = std::make_unique<GuiInstance>(session.host(), session.guiFactory(), dataModel.get());
    ASSERT_EQ(AAX_SUCCESS, gui->InitializeResult());
    gui->AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    const ComponentDescription& component = session.component(kStereoComponent);
    ProcessingContext context(component, 64);
    ASSERT_EQ(AAX_SUCCESS, context.ResetPrivateData(dataModel->Get()));
    context.FillInputs(0.5f);

    std::atomic<bool> stopAudio{false};
    std::atomic<int> blocks{0};
    std::thread audio(
        [&]
        {
            while (!stopAudio)
            {
                RunProcess(component.process, {&context});
                ++blocks;
                std::this_thread::sleep_for(kBlockPeriod);
            }
        });

    // The host thread: everything a host and its GUI timer do, in a fixed rotation.
    const auto end = std::chrono::steady_clock::now() + kStressTime;
    int iteration = 0;
    while (std::chrono::steady_clock::now() < end)
    {
        const std::string id = idOf(iteration % kAutomated);
        const double value = static_cast<double>(iteration % 101) / 100.0;
        double read = -1.0;
        EXPECT_EQ(AAX_SUCCESS, (*dataModel)->TouchParameter(id.c_str()));
        EXPECT_EQ(AAX_SUCCESS, (*dataModel)->SetParameterNormalizedValue(id.c_str(), value));
        EXPECT_EQ(AAX_SUCCESS, (*dataModel)->ReleaseParameter(id.c_str()));
        EXPECT_EQ(AAX_SUCCESS, (*dataModel)->GetParameterNormalizedValue(id.c_str(), &read));
        EXPECT_TRUE(read >= 0.0 && read <= 1.0) << read;
        dataModel->DeliverAutomation();
        gui->Tick();
        if (iteration % 8 == 0)
        {
            SavedChunk all;
            SavedChunk controls;
            EXPECT_EQ(AAX_SUCCESS, dataModel->GetChunk(kAllChunk, &all));
            EXPECT_EQ(AAX_SUCCESS, dataModel->GetChunk(kControlsChunk, &controls));
            EXPECT_EQ(AAX_SUCCESS, dataModel->SetChunk(controls));
            EXPECT_EQ(AAX_SUCCESS, dataModel->SetChunk(all));
        }
        ++iteration;
    }
    EXPECT_GT(blocks.load(), 0);
    EXPECT_GT(iteration, 0);

    // The audio thread stops, and with it the effect's automation and display requests; one more
    // refresh runs so that none is pending, and everything it posted is answered.
    stopAudio = true;
    audio.join();
    session.host().Log().SetEnabled(true);
    ASSERT_TRUE(refreshAndDeliver(session, *dataModel));

    // A known state is saved, the host moves every parameter away from it, and the state is
    // restored.
    for (int32_t index = 0; index < kAutomated; ++index)
    {
        const std::string id = idOf(index);
        ASSERT_EQ(AAX_SUCCESS, (*dataModel)->SetParameterNormalizedValue(id.c_str(), 0.05 * (index + 1)));
    }
    dataModel->DeliverAutomation();
    SavedChunk savedAll;
    SavedChunk savedControls;
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetChunk(kAllChunk, &savedAll));
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetChunk(kControlsChunk, &savedControls));
    for (int32_t index = 0; index < kAutomated; ++index)
    {
        const std::string id = idOf(index);
        ASSERT_EQ(AAX_SUCCESS, (*dataModel)->SetParameterNormalizedValue(id.c_str(), 0.9));
    }
    dataModel->DeliverAutomation();
    ASSERT_EQ(AAX_SUCCESS, dataModel->SetChunk(savedControls));
    ASSERT_EQ(AAX_SUCCESS, dataModel->SetChunk(savedAll));

    // The restore shows the restored values to the host itself; a refresh after it, and the host
    // writing back whatever it reports, change nothing.
    ASSERT_TRUE(refreshAndDeliver(session, *dataModel));
    for (int32_t index = 0; index < kAutomated; ++index)
    {
        const std::string id = idOf(index);
        double value = -1.0;
        EXPECT_EQ(AAX_SUCCESS, (*dataModel)->GetParameterNormalizedValue(id.c_str(), &value));
        EXPECT_NEAR(0.05 * (index + 1), value, 1e-6) << id;
    }

    // Teardown while a refresh is pending: no crash, no hang, and the effect is closed.
    session.bundle().callHostFromEffect(audioMasterUpdateDisplay);
    gui.reset();
    EXPECT_EQ(AAX_SUCCESS, dataModel->Uninitialize());
    dataModel.reset();
    EXPECT_EQ(0, log.liveInstances);
    EXPECT_EQ(0, log.callsIntoClosedEffect);
}

} // namespace

TEST(ConcurrencyStress, AParameterFormSessionSurvivesEverythingAtOnceAndKeepsTheRestoredState)
{
    runSession(kTestChunkNone);
}

TEST(ConcurrencyStress, AnEffectChunkSessionSurvivesEverythingAtOnceAndKeepsTheRestoredState)
{
    runSession(kTestChunkNormal);
}

namespace
{

// A host whose automation delegate answers only on its main thread: a request made elsewhere waits
// until the main thread gets to it. The main thread saves and restores all the time while the
// effect automates from inside every block. The audio thread never calls the delegate, so nothing
// waits for the main thread while the main thread waits for a block; the session ends with every
// request answered, and the audio thread's longest wait is reported. The session is then torn down
// on the main thread while a delivery waits for it, blocking on throughout.
void runMainThreadAutomationSession(int32_t chunkMode)
{
    TestEffectConfig config = stressedEffect(chunkMode);
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    session.host().Log().SetEnabled(false);
    MainThreadAutomationInstance instance(session, kStereoComponent, 64);
    ASSERT_TRUE(instance.ready());
    instance.context.FillInputs(0.5f);
    instance.delegate.setBlocking(true);
    DataModelInstance& dataModel = instance.dataModel;

    std::atomic<bool> stopAudio{false};
    std::atomic<int> blocks{0};
    std::chrono::steady_clock::duration longestBlock{};
    const std::thread::id mainThread = std::this_thread::get_id();
    std::thread audio(
        [&]
        {
            while (!stopAudio)
            {
                const auto start = std::chrono::steady_clock::now();
                RunProcess(instance.component.process, {&instance.context});
                longestBlock = std::max(longestBlock, std::chrono::steady_clock::now() - start);
                ++blocks;
                std::this_thread::sleep_for(kBlockPeriod);
            }
        });

    const auto end = std::chrono::steady_clock::now() + kStressTime;
    int iteration = 0;
    while (std::chrono::steady_clock::now() < end)
    {
        instance.delegate.answerWaiting();
        SavedChunk all;
        SavedChunk controls;
        EXPECT_EQ(AAX_SUCCESS, dataModel.GetChunk(kAllChunk, &all));
        instance.delegate.answerWaiting();
        EXPECT_EQ(AAX_SUCCESS, dataModel.GetChunk(kControlsChunk, &controls));
        EXPECT_EQ(AAX_SUCCESS, dataModel.SetChunk(all));
        instance.delegate.answerWaiting();
        EXPECT_EQ(AAX_SUCCESS, dataModel.SetChunk(controls));
        const std::string id = idOf(iteration % kAutomated);
        EXPECT_EQ(AAX_SUCCESS, dataModel->SetParameterNormalizedValue(id.c_str(), (iteration % 101) / 100.0));
        dataModel.DeliverAutomation();
        ++iteration;
    }
    stopAudio = true;
    audio.join();

    // What the effect reported while processing reached the host, though only through the main
    // thread's answers, and never from the audio thread.
    const std::string automated = idOf(kAutomated);
    const auto reachedHost = [&]
    {
        instance.delegate.answerWaiting();
        for (const auto& arrival : instance.delegate.arrivals())
            if (arrival.call == "release" && arrival.id == automated)
                return true;
        return false;
    };
    EXPECT_TRUE(waitFor(reachedHost));
    EXPECT_EQ(0, instance.delegate.unansweredCalls()) << "a request waited for the main thread in vain";
    const auto arrivals = instance.delegate.arrivals();
    const std::thread::id audioThread = audio.get_id();
    for (const auto& arrival : arrivals)
        EXPECT_TRUE(arrival.thread != audioThread &&
                    (arrival.id == automated || arrival.thread == mainThread))
            << arrival.call << " " << arrival.id;
    EXPECT_GT(blocks.load(), 0);
    EXPECT_GT(iteration, 0);
    const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(longestBlock).count();
    std::cout << blocks.load() << " blocks, " << iteration << " saves and restores; longest block " << longest
              << " us\n";
    ::testing::Test::RecordProperty("longest_block_us", std::to_string(longest));

    // Teardown on the main thread while a delivery waits in the delegate for that very thread, with
    // blocking still on: a few more blocks report automation, and once its delivery waits,
    // Uninitialize returns without waiting for it.
    for (int block = 0; block < 4; ++block)
        RunProcess(instance.component.process, {&instance.context});
    ASSERT_TRUE(waitFor([&] { return instance.delegate.waitingCalls() > 0; }));
    const size_t arrivalsAtTeardown = instance.delegate.arrivals().size();
    const auto teardownStart = std::chrono::steady_clock::now();
    EXPECT_EQ(AAX_SUCCESS, dataModel.Uninitialize());
    const auto teardown = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - teardownStart)
                              .count();
    EXPECT_EQ(1, instance.delegate.waitingCalls()) << "Uninitialize waited for the request to be answered";
    EXPECT_EQ(0, instance.delegate.unansweredCalls()) << "Uninitialize deadlocked with the request";
    // Back in its loop, the main thread answers; the request returns into the module, which makes
    // no further request of a host that is done with the instance, and lets go of the delegate.
    EXPECT_TRUE(waitFor(
        [&]
        {
            instance.delegate.answerWaiting();
            return instance.delegate.callsInside() == 0 && instance.delegate.referencesHeld() == 0;
        }));
    std::this_thread::sleep_for(kObserveBlocked);
    EXPECT_EQ(arrivalsAtTeardown, instance.delegate.arrivals().size());
    std::cout << "Uninitialize took " << teardown << " ms with a request waiting for its thread\n";
}

} // namespace

TEST(ConcurrencyStress, AParameterFormHostWhoseAutomationWaitsForItsMainThreadNeverDeadlocks)
{
    runMainThreadAutomationSession(kTestChunkNone);
}

TEST(ConcurrencyStress, AnEffectChunkHostWhoseAutomationWaitsForItsMainThreadNeverDeadlocks)
{
    runMainThreadAutomationSession(kTestChunkNormal);
}
