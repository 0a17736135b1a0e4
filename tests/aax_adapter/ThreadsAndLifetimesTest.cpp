// What happens when the host's thread, the audio thread, the module's message thread and the effect
// act at once, and what outlives what at teardown: each test drives the built module through the
// test host with real threads and a test effect that can slow down, automate and request display
// updates.

#include "tests/aax_adapter/EffectProgramMenu.h"
#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "tests/aax_adapter/SavedChunks.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/HostController.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

using namespace testhost;

namespace
{

void appendBigEndian32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

// A parameter-form state block in which every parameter of program p holds valueOf(p), with
// program 0 current.
template <typename ValueOf>
std::vector<uint8_t> parameterFormBlock(int32_t parameters, int32_t programs, ValueOf valueOf)
{
    std::vector<uint8_t> block;
    appendBigEndian32(block, static_cast<uint32_t>(parameters));
    appendBigEndian32(block, static_cast<uint32_t>(programs));
    for (int32_t program = 0; program < programs; ++program)
    {
        block.insert(block.end(), 64, 0);
        const float value = valueOf(program);
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int32_t parameter = 0; parameter < parameters; ++parameter)
            appendBigEndian32(block, bits);
    }
    appendBigEndian32(block, 0x00002001);
    appendBigEndian32(block, 0);
    return block;
}

// Runs blocks on a thread of its own, as the host's audio thread does, until stopped.
class AudioThread
{
public:
    AudioThread(const ComponentDescription& component, ProcessingContext& context)
        : thread(
              [this, &component, &context]
              {
                  while (!stopping)
                  {
                      RunProcess(component.process, {&context});
                      ++blocks;
                      // Paced like a real interface, so the other threads get the processor too.
                      std::this_thread::sleep_for(std::chrono::microseconds(200));
                  }
              })
    {
    }
    ~AudioThread() { stop(); }
    void stop()
    {
        stopping = true;
        if (thread.joinable())
            thread.join();
    }
    std::atomic<int> blocks{0};

private:
    std::atomic<bool> stopping{false};
    std::thread thread;
};

int indexOf(const std::vector<std::string>& operations, const std::string& wanted, bool last = false)
{
    int found = -1;
    for (size_t i = 0; i < operations.size(); ++i)
        if (operations[i] == wanted)
        {
            found = static_cast<int>(i);
            if (!last)
                break;
        }
    return found;
}

} // namespace

TEST(ThreadsAndLifetimes, ARefreshDuringPublishingReachesTheHostOnlyOnceInitializeHasReturned)
{
    OpenedPlugIn opened(
        testEffectPath(),
        [](TestEffectConfig& config)
        {
            config.numParams = kTestEffectMaxParameters;
            // Slow reads make publishing take long enough for a refresh to run meanwhile.
            config.getParameterDelayMicroseconds = 20000;
            // Program 1 differs everywhere, so that a refresh after switching to it has everything
            // to report.
            config.seedsProgramValues = 1;
            for (int i = 0; i < kTestEffectMaxParameters; ++i)
            {
                config.programValues[0][i] = 0.25f;
                config.programValues[1][i] = 0.5f;
            }
        },
        OpenedPlugIn::Initialise::ByTheTest);
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& dataModel = opened.dataModel();
    session.host().Log().Clear();
    // The effect asks for a display update just before the host initialises the instance.
    session.bundle().callHostFromEffect(audioMasterUpdateDisplay);
    ASSERT_EQ(AAX_SUCCESS, dataModel.Initialize());
    const std::vector<std::string> operations = session.host().Log().Operations("AutomationDelegate");
    const int lastRegister = indexOf(operations, "AutomationDelegate.RegisterParameter", true);
    ASSERT_GE(lastRegister, 0);
    for (const char* post : {"AutomationDelegate.PostTouchRequest", "AutomationDelegate.PostSetValueRequest"})
    {
        const int first = indexOf(operations, post);
        EXPECT_TRUE(first < 0 || first > lastRegister)
            << post << " at " << first << ", last register at " << lastRegister;
    }
    // The refresh itself was not lost for good: a later one reaches the host with what changed.
    ASSERT_EQ(0, selectEffectProgram(session.bundle(), 1, true));
    EXPECT_TRUE(waitFor(
        [&]
        {
            return session.host().Log().Count("AutomationDelegate", "PostSetValueRequest") >=
                   static_cast<size_t>(kTestEffectMaxParameters);
        }));
}

TEST(ThreadsAndLifetimes, DestructionWaitsForALongRefreshBeforeTheEffectCloses)
{
    TestEffectConfig config = testEffectDefaults();
    config.numParams = 10;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    const TestEffectLog& log = session.bundle().log();
    {
        DataModelInstance dataModel(session.host(), session.dataModelFactory());
        ASSERT_EQ(AAX_SUCCESS, dataModel.InitializeResult());
        // From now on one refresh reads for 3 s, longer than any fixed bound a teardown might wait.
        config.getParameterDelayMicroseconds = 300000;
        session.bundle().configure(config);
        const int readsBefore = __atomic_load_n(&log.getParameterCalls, __ATOMIC_RELAXED);
        session.bundle().callHostFromEffect(audioMasterUpdateDisplay);
        ASSERT_TRUE(
            waitFor([&] { return __atomic_load_n(&log.getParameterCalls, __ATOMIC_RELAXED) > readsBefore; }));
    }
    EXPECT_EQ(0, log.liveInstances);
    // Every read that started has ended, and none found its effect closed under it.
    EXPECT_TRUE(waitFor(
        [&]
        {
            return __atomic_load_n(&log.getParameterCalls, __ATOMIC_RELAXED) ==
                   __atomic_load_n(&log.getParameterReturns, __ATOMIC_RELAXED);
        }));
    EXPECT_EQ(0, log.callsIntoClosedEffect);
}

TEST(ThreadsAndLifetimes, SavingSweepsTheProgramsUnseenByTheRefreshAndTheAudioThread)
{
    OpenedPlugIn opened(testEffectPath(),
                        [](TestEffectConfig& config)
                        {
                            config.numParams = kTestEffectMaxParameters;
                            config.numPrograms = kTestEffectMaxPrograms;
                            config.getParameterDelayMicroseconds = 2000;
                        });
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& dataModel = opened.dataModel();
    // Program p holds (p + 1) / 10 everywhere; program 0 is current.
    auto valueOf = [](int32_t program) { return static_cast<float>(program + 1) / 10.0f; };
    ASSERT_EQ(AAX_SUCCESS, dataModel.SetChunk(allChunk(parameterFormBlock(kTestEffectMaxParameters,
                                                                          kTestEffectMaxPrograms, valueOf))));
    ProcessingContext context(session.component(kStereoComponent), 64);
    ASSERT_EQ(AAX_SUCCESS, context.ResetPrivateData(dataModel.Get()));
    TestEffectLog& log = session.bundle().log();
    session.host().Log().Clear();

    std::atomic<bool> saving{true};
    std::thread displayRequests(
        [&]
        {
            // A request after each refresh has run starts the next one: refreshes keep coming.
            while (saving)
            {
                session.bundle().callHostFromEffect(audioMasterUpdateDisplay);
                std::this_thread::sleep_for(std::chrono::milliseconds(350));
            }
        });
    {
        AudioThread audio(session.component(kStereoComponent), context);
        ASSERT_TRUE(waitFor([&] { return audio.blocks > 0; }));
        __atomic_store_n(&log.programsSeenWhileProcessing, 0u, __ATOMIC_RELAXED);
        for (int save = 0; save < 12; ++save)
        {
            SavedChunk saved;
            ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(kAllChunk, &saved));
        }
        // Whatever refresh runs now reads the settled program.
        const int afterSaves = __atomic_load_n(&log.count, __ATOMIC_ACQUIRE);
        EXPECT_TRUE(refreshEnded(session.bundle(), afterSaves));
        audio.stop();
    }
    saving = false;
    displayRequests.join();

    // The audio thread only ever found the current program.
    EXPECT_EQ(1u, __atomic_load_n(&log.programsSeenWhileProcessing, __ATOMIC_RELAXED));
    // The restore showed program 0's values to the host, so the refreshes had nothing to report:
    // any report would be of a value the sweep passed through.
    const auto posts = session.host().Log().Find("AutomationDelegate", "PostSetValueRequest");
    EXPECT_TRUE(posts.empty());
    for (const Call& post : posts)
    {
        ASSERT_EQ(2u, post.args.size());
        if (post.args[0] != "MasterBypassID")
        {
            EXPECT_NEAR(0.1, std::stod(post.args[1]), 1e-6) << post.ToString();
        }
    }
}

TEST(ThreadsAndLifetimes, AValueTheEffectReportsReachesTheHostButNotTheEffectAgain)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& dataModel = opened.dataModel();
    // A first display update and its refresh, which has nothing to report.
    ASSERT_TRUE(refreshAfterDisplayRequest(session.bundle()));
    const TestEffectLog& log = session.bundle().log();
    dataModel.DeliverAutomation();
    session.host().Log().Clear();
    const int before = __atomic_load_n(&log.count, __ATOMIC_RELAXED);

    session.bundle().callHostFromEffect(audioMasterAutomate, 1, 0, nullptr, 0.75f);

    for (int i = before; i < __atomic_load_n(&log.count, __ATOMIC_RELAXED); ++i)
        EXPECT_NE(kTestCallSetParameter, log.calls[i].kind) << "echo of " << log.calls[i].opt;
    EXPECT_EQ((std::vector<std::string>{"AutomationDelegate.PostTouchRequest",
                                        "AutomationDelegate.PostSetValueRequest",
                                        "AutomationDelegate.PostReleaseRequest"}),
              session.host().Log().Operations("AutomationDelegate"));
    const auto posts = session.host().Log().Find("AutomationDelegate", "PostSetValueRequest");
    ASSERT_EQ(1u, posts.size());
    EXPECT_EQ("1", posts[0].args[0]);
    EXPECT_DOUBLE_EQ(0.75, std::stod(posts[0].args[1]));
    // The host's answer is the value the effect reported, which the effect holds: it is not sent
    // to the effect again (an effect that keeps a setting in two forms would answer it with a new
    // report, and so on without end).
    const int beforeAnswer = __atomic_load_n(&log.count, __ATOMIC_RELAXED);
    EXPECT_EQ(1, dataModel.DeliverAutomation());
    for (int i = beforeAnswer; i < __atomic_load_n(&log.count, __ATOMIC_RELAXED); ++i)
        EXPECT_NE(kTestCallSetParameter, log.calls[i].kind) << "answer " << log.calls[i].opt;
}

TEST(ThreadsAndLifetimes, TheAudioThreadKeepsProcessingWhileTheHostTearsDown)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    for (int round = 0; round < 20; ++round)
    {
        ProcessingInstance instance(session, kStereoComponent, 32);
        ASSERT_TRUE(instance.ready());
        AudioThread audio(instance.component, instance.context);
        ASSERT_TRUE(waitFor([&] { return audio.blocks > 2; }));
        // Teardown deletes the transport the play head asks in every block.
        EXPECT_EQ(AAX_SUCCESS, instance.dataModel.Uninitialize());
        const int afterTeardown = audio.blocks;
        ASSERT_TRUE(waitFor([&] { return audio.blocks > afterTeardown + 2; }));
        audio.stop();
    }
    EXPECT_EQ(0, session.bundle().log().liveInstances);
}

TEST(ThreadsAndLifetimes, EffectCountsBeyondTheLimitsAreReadAsTheLimits)
{
    constexpr int32_t kParameterLimit = 4096;
    constexpr int32_t kProgramLimit = 1024;
    OpenedPlugIn opened(testEffectPath(),
                        [](TestEffectConfig& config)
                        {
                            config.numParams = std::numeric_limits<int32_t>::max();
                            config.numPrograms = std::numeric_limits<int32_t>::max();
                        });
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    int32_t published = 0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetNumberOfParameters(&published));
    EXPECT_EQ(kParameterLimit + 1, published); // and the master bypass
    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(kAllChunk, &saved));
    const size_t expected =
        16 + static_cast<size_t>(kProgramLimit) * (64 + 4 * static_cast<size_t>(kParameterLimit));
    EXPECT_EQ(expected, saved.data.size());
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0x10, 0, 0, 0, 0x04, 0}),
              std::vector<uint8_t>(saved.data.begin(), saved.data.begin() + 8));
}

TEST(ThreadsAndLifetimes, TheEditorOpensOnceClosesOnceAndTheGuiLetsTheDataModelGoAtUninitialize)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& dataModel = opened.dataModel();
    const TestEffectLog& log = opened.log();
    GuiInstance gui(session.host(), session.guiFactory(), &dataModel);
    ASSERT_EQ(AAX_SUCCESS, gui.InitializeResult());

    gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    EXPECT_EQ(1, log.editorOpens);
    // A second window: the editor moves there, closed first.
    gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    EXPECT_EQ(1, log.editorOpens);
    EXPECT_EQ(2, countDispatcherCalls(log, effEditOpen));
    EXPECT_EQ(AAX_SUCCESS, gui.DetachView());
    EXPECT_EQ(0, log.editorOpens);
    EXPECT_EQ(AAX_SUCCESS, gui.DetachView());
    EXPECT_EQ(0, log.editorOpens);

    // Open again, then the GUI is uninitialised with the editor still open: it closes, and the
    // data model goes (with its effect) as soon as the host releases it.
    gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    EXPECT_EQ(1, log.editorOpens);
    EXPECT_EQ(AAX_SUCCESS, gui.Uninitialize());
    EXPECT_EQ(0, log.editorOpens);
    dataModel.Release();
    EXPECT_EQ(0, log.liveInstances);
    gui.Release();
    EXPECT_EQ(0, log.editorOpens);
    EXPECT_EQ(countDispatcherCalls(log, effEditOpen), countDispatcherCalls(log, effEditClose));
}

TEST(ThreadsAndLifetimes, AFailedEditorRectangleIsAnErrorNotAnEmptyView)
{
    TestEffectConfig config = testEffectDefaults();
    config.editGetRectFails = 1;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    DataModelInstance dataModel(session.host(), session.dataModelFactory());
    GuiInstance gui(session.host(), session.guiFactory(), &dataModel);
    ASSERT_EQ(AAX_SUCCESS, gui.InitializeResult());
    gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    AAX_Point size{-1.0f, -1.0f};
    EXPECT_NE(AAX_SUCCESS, gui->GetViewSize(&size));
    EXPECT_EQ(-1.0f, size.horz);
    EXPECT_EQ(-1.0f, size.vert);
}
