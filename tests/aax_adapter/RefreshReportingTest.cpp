// What the host records and what reaches the effect while the module refreshes the host's view of
// the effect's values: automation is written only for values that changed, host writes made during
// a refresh reach the effect and win over what the refresh read, the host is called without the
// state lock held, and an effect that asks for display updates all the time is still refreshed.

#include "tests/aax_adapter/EffectProgramMenu.h"
#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/SavedChunks.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/AutomationRecorder.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace testhost;

namespace
{

// Program 1 moves parameters 1 and 3 and leaves 0 and 2 where program 0 has them.
const float kProgram1Values[] = {0.25f, 0.6f, 0.25f, 0.8f};

double effectValue(DataModelInstance& dataModel, const char* id)
{
    double value = -1.0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue(id, &value)) << id;
    return value;
}

bool requested(const std::vector<std::pair<std::string, double>>& requests, const std::string& id)
{
    for (const auto& request : requests)
        if (request.first == id)
            return true;
    return false;
}

} // namespace

TEST(RefreshReporting, FiftyRefreshesWithoutAChangeWriteNoAutomation)
{
    OpenedPlugIn opened(testEffectPath(), twoProgramEffect(kProgram1Values));
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    // Write mode keeps every request the plug-in makes; touch and latch keep fewer.
    AutomationRecorder recorder(AutomationMode::Write);
    HostAutomationDelegate* delegate = dataModel.Controller()->AutomationDelegate();
    delegate->AttachRecorder(&recorder);
    for (int refresh = 0; refresh < 50; ++refresh)
    {
        ASSERT_TRUE(refreshAfterDisplayRequest(opened.session.bundle())) << "refresh " << refresh;
        dataModel.DeliverAutomation();
    }
    delegate->AttachRecorder(nullptr);
    EXPECT_EQ(0u, recorder.PointCount());
}

TEST(RefreshReporting, AProgramChangeWritesExactlyTheParametersThatChanged)
{
    OpenedPlugIn opened(testEffectPath(), twoProgramEffect(kProgram1Values));
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const ModuleBundle& bundle = opened.session.bundle();
    AutomationRecorder recorder(AutomationMode::Touch);
    dataModel.Controller()->AutomationDelegate()->AttachRecorder(&recorder);

    int from = __atomic_load_n(&bundle.log().count, __ATOMIC_ACQUIRE);
    ASSERT_EQ(0, selectEffectProgram(bundle, 1, true));
    ASSERT_TRUE(refreshEnded(bundle, from));
    dataModel.DeliverAutomation();
    std::vector<AutomationPoint> points = recorder.Points();
    ASSERT_EQ(2u, points.size());
    EXPECT_EQ("1", points[0].parameterId);
    EXPECT_FLOAT_EQ(0.6f, static_cast<float>(points[0].value));
    EXPECT_EQ("3", points[1].parameterId);
    EXPECT_FLOAT_EQ(0.8f, static_cast<float>(points[1].value));

    // Back to program 0: the same two parameters move back, and nothing else is written.
    from = __atomic_load_n(&bundle.log().count, __ATOMIC_ACQUIRE);
    ASSERT_EQ(0, selectEffectProgram(bundle, 0, true));
    ASSERT_TRUE(refreshEnded(bundle, from));
    dataModel.DeliverAutomation();
    dataModel.Controller()->AutomationDelegate()->AttachRecorder(nullptr);
    points = recorder.Points();
    ASSERT_EQ(4u, points.size());
    EXPECT_EQ((std::set<std::string>{"1", "3"}), recorder.WrittenParameters());
    EXPECT_FLOAT_EQ(0.25f, static_cast<float>(points[2].value));
    EXPECT_FLOAT_EQ(0.25f, static_cast<float>(points[3].value));
}

TEST(RefreshReporting, ASwitchMovedWithinItsTextWritesNothingWhileContinuousValuesStillDo)
{
    // Parameters 0 and 1 are switches ("Off" below one half, "On" from it); 2 is continuous.
    // Program 0 holds 0.25, 0.75 and 0.25; program 1 holds 0.8, 0.8 and 0.2504.
    const float program1Values[] = {0.8f, 0.8f, 0.2504f};
    TestEffectConfig config = twoProgramEffect(program1Values);
    config.programValues[0][1] = 0.75f;
    config.display[0] = kTestDisplaySwitch;
    config.display[1] = kTestDisplaySwitch;
    OpenedPlugIn opened(testEffectPath(), config);
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const ModuleBundle& bundle = opened.session.bundle();
    AutomationRecorder recorder(AutomationMode::Write);
    dataModel.Controller()->AutomationDelegate()->AttachRecorder(&recorder);

    // Switch 1 goes from 0.75 to 0.8 and still shows "On": the host would see nothing new. Switch 0
    // turns on, and the continuous parameter moves by less than its text shows.
    int from = __atomic_load_n(&bundle.log().count, __ATOMIC_ACQUIRE);
    ASSERT_EQ(0, selectEffectProgram(bundle, 1, true));
    ASSERT_TRUE(refreshEnded(bundle, from));
    dataModel.DeliverAutomation();
    EXPECT_EQ((std::set<std::string>{"0", "2"}), recorder.WrittenParameters());

    // Back to program 0: both move back, switch 1 never left "On" for the host.
    AutomationRecorder back(AutomationMode::Write);
    dataModel.Controller()->AutomationDelegate()->AttachRecorder(&back);
    from = __atomic_load_n(&bundle.log().count, __ATOMIC_ACQUIRE);
    ASSERT_EQ(0, selectEffectProgram(bundle, 0, true));
    ASSERT_TRUE(refreshEnded(bundle, from));
    dataModel.DeliverAutomation();
    dataModel.Controller()->AutomationDelegate()->AttachRecorder(nullptr);
    EXPECT_EQ((std::set<std::string>{"0", "2"}), back.WrittenParameters());
}

TEST(RefreshReporting, AHostWriteDuringARefreshReachesTheEffectAndWinsOverWhatTheRefreshRead)
{
    const float program1Values[] = {0.5f, 0.5f, 0.5f};
    TestEffectConfig config = twoProgramEffect(program1Values);
    OpenedPlugIn opened(testEffectPath(), config);
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const ModuleBundle& bundle = opened.session.bundle();
    const TestEffectLog& log = bundle.log();

    // From now on every read of a value takes half a second: the host writes while the refresh is
    // reading parameter 1, after it has read parameter 0 and before it reads parameter 2.
    config.getParameterDelayMicroseconds = 500000;
    bundle.configure(config);
    const int readsBefore = __atomic_load_n(&log.getParameterReturns, __ATOMIC_ACQUIRE);
    const int from = __atomic_load_n(&log.count, __ATOMIC_ACQUIRE);
    ASSERT_EQ(0, selectEffectProgram(bundle, 1, true));
    ASSERT_TRUE(
        waitFor([&] { return __atomic_load_n(&log.getParameterReturns, __ATOMIC_ACQUIRE) > readsBefore; }));
    EXPECT_EQ(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("0", 0.9, 0));
    EXPECT_EQ(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("2", 0.1, 0));
    ASSERT_TRUE(refreshEnded(bundle, from));
    config.getParameterDelayMicroseconds = 0;
    bundle.configure(config);

    // The refresh reports only parameter 1: it read 0.5 for parameter 0 before the host wrote 0.9,
    // and the host's own 0.1 for parameter 2.
    const auto requests = dataModel.Controller()->AutomationDelegate()->PendingSetValueRequests();
    EXPECT_FALSE(requested(requests, "0"));
    EXPECT_FALSE(requested(requests, "2"));
    EXPECT_TRUE(requested(requests, "1"));
    dataModel.DeliverAutomation();
    EXPECT_FLOAT_EQ(0.9f, static_cast<float>(effectValue(dataModel, "0")));
    EXPECT_FLOAT_EQ(0.5f, static_cast<float>(effectValue(dataModel, "1")));
    EXPECT_FLOAT_EQ(0.1f, static_cast<float>(effectValue(dataModel, "2")));
}

TEST(RefreshReporting, TheHostIsCalledWithoutTheStateLockHeld)
{
    OpenedPlugIn opened(testEffectPath(), twoProgramEffect(kProgram1Values));
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const ModuleBundle& bundle = opened.session.bundle();

    // While the host handles the refresh's first request, another of its threads saves the
    // session, which takes the state lock. A refresh that holds the lock meanwhile keeps the save
    // waiting until the request returns.
    std::atomic<bool> first{true};
    std::atomic<bool> saved{false};
    std::atomic<bool> saveHandled{false};
    std::atomic<bool> saveFinishedDuringRequest{false};
    std::thread saver;
    dataModel.Controller()->AutomationDelegate()->OnSetValueRequest(
        [&](const std::string&, double)
        {
            if (!first.exchange(false))
                return;
            saver = std::thread(
                [&]
                {
                    SavedChunk state;
                    dataModel.GetChunk(kAllChunk, &state);
                    saved = true;
                });
            saveFinishedDuringRequest = waitFor([&] { return saved.load(); });
            saveHandled = true;
        });
    const int from = __atomic_load_n(&bundle.log().count, __ATOMIC_ACQUIRE);
    ASSERT_EQ(0, selectEffectProgram(bundle, 1, true));
    const bool handled = waitFor([&] { return saveHandled.load(); }, std::chrono::seconds(20));
    // The save finishes once the refresh lets go of the lock, whenever that is.
    const bool ended = refreshEnded(bundle, from);
    if (saver.joinable())
        saver.join();
    dataModel.Controller()->AutomationDelegate()->OnSetValueRequest(nullptr);
    ASSERT_TRUE(handled);
    ASSERT_TRUE(ended);
    EXPECT_TRUE(saveFinishedDuringRequest);
}

TEST(RefreshReporting, AnEffectAskingForDisplayUpdatesMoreOftenThanTheDelayIsStillRefreshed)
{
    OpenedPlugIn opened(testEffectPath(), twoProgramEffect(kProgram1Values));
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    const ModuleBundle& bundle = opened.session.bundle();

    // The effect changes its values, then asks for a display update every 50 ms (as a meter or an
    // animated editor does), far more often than the refresh's 200 to 300 ms delay.
    ASSERT_EQ(0, selectEffectProgram(bundle, 1, false));
    std::atomic<bool> asking{true};
    std::thread requests(
        [&]
        {
            while (asking)
            {
                bundle.callHostFromEffect(audioMasterUpdateDisplay);
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    const bool refreshed = waitFor(
        [&]
        { return requested(dataModel.Controller()->AutomationDelegate()->PendingSetValueRequests(), "1"); });
    asking = false;
    requests.join();
    EXPECT_TRUE(refreshed);
}
