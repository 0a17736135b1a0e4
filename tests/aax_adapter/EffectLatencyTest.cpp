// An effect whose latency changes while it runs: it announces the new delay with
// audioMasterIOChanged from inside its processing, and the host hears it through SetSignalLatency
// from the module's message thread, never from the audio thread that processed the block.

#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "tests/support/TestWaiting.h"
#include "host_kit/HostController.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{

constexpr int32_t kLatencyBlock = 64;

TEST(EffectLatency, ANewDelayAnnouncedWhileProcessingReachesTheHostOffTheAudioThread)
{
    TestEffectConfig config = testEffectDefaults();
    config.initialDelay = 64;
    config.changesDelayInBlock = 3;
    config.changedInitialDelay = 512;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, kStereoComponent, kLatencyBlock);
    ASSERT_TRUE(instance.ready());
    testhost::HostController& controller = *instance.dataModel.Controller();
    ASSERT_EQ(controller.SignalLatency(), 64);

    std::thread::id audioThread;
    std::thread audio(
        [&]
        {
            audioThread = std::this_thread::get_id();
            for (int block = 0; block < 5; ++block)
                instance.process();
        });
    audio.join();
    EXPECT_EQ(session.bundle().log().ioChangedAnswer, 1);

    ASSERT_TRUE(waitFor([&] { return controller.SignalLatency() == 512; })) << session.host().Log().Dump();
    const std::vector<testhost::Call> reports = session.host().Log().Find("Controller", "SetSignalLatency");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports.back().args.at(0), "512");
    EXPECT_NE(reports.back().thread, audioThread);
    EXPECT_NE(reports.back().thread, std::this_thread::get_id()) << "the host's own thread made no call";
}

} // namespace
