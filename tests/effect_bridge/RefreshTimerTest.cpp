// The 100 ms timer on a real message thread: the delayed refresh after display-update requests, and
// the message thread helper itself. Waits are generous with an upper bound.

#include "aax_adapter/MessageThread.h"
#include "effect_bridge/QuennetAudioProcessor.h"
#include "effect_bridge/EffectStateBlock.h"
#include "tests/effect_bridge/EffectInstallation.h"
#include "tests/effect_bridge/ParameterListener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace
{

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr auto kGenerousWait = milliseconds(3000);

bool waitFor(const std::function<bool()>& condition, Clock::duration limit = kGenerousWait)
{
    const auto deadline = Clock::now() + limit;
    while (!condition())
    {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(milliseconds(2));
    }
    return true;
}

class RefreshTimer : public ::testing::Test
{
protected:
    MessageThread messageThread;
    std::unique_ptr<EffectInstallation> installation;
    std::unique_ptr<QuennetAudioProcessor> processor;
    ParameterListener listener;

    void SetUp() override
    {
        ASSERT_TRUE(messageThread.start());
        installation = std::make_unique<EffectInstallation>(testEffectPath());
        processor = std::make_unique<QuennetAudioProcessor>();
        ASSERT_NE(processor->getEffect(), nullptr);
        processor->addListener(&listener);
    }

    void TearDown() override
    {
        processor->removeListener(&listener);
        processor.reset();
        messageThread.stop();
        installation.reset();
    }
};

#ifndef NDEBUG
// Debug builds stop at a refresh called from another thread while the message thread runs: it
// would race the timer's own refresh.
TEST_F(RefreshTimer, ARefreshOffTheRunningMessageThreadStopsADebugBuild)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(processor->refreshParametersFromEffect(), "");
    EXPECT_DEATH(processor->timerCallback(), "");
}
#endif

// Requests while a refresh is pending leave its countdown running: an effect that asks more often
// than the countdown lasts would otherwise never be refreshed.
TEST_F(RefreshTimer, ThreeRequestsAHundredMillisecondsApartGiveOneRefreshAfterTheFirst)
{
    const auto firstRequest = Clock::now();
    for (int request = 0; request < 3; ++request)
    {
        if (request > 0)
            std::this_thread::sleep_for(milliseconds(100));
        installation->callHostFromEffect(audioMasterUpdateDisplay);
    }
    ASSERT_TRUE(waitFor([this] { return listener.refreshesSeen > 0; }));
    const auto delay = Clock::now() - firstRequest;
    EXPECT_GE(delay, milliseconds(180)) << "the third tick after the first request";
    EXPECT_LE(delay, milliseconds(1500));

    std::this_thread::sleep_for(milliseconds(400)); // long enough for a second refresh to show
    EXPECT_EQ(listener.refreshesSeen, 1);
    EXPECT_EQ(processor->getRefreshCountdown(), QuennetAudioProcessor::kRefreshIdle);
    EXPECT_EQ(listener.snapshot().size(), 3u) << "one notification per parameter";
}

TEST_F(RefreshTimer, HostWritesReachTheEffectOnceTheFirstRefreshHasRun)
{
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    processor->setParameter(0, 0.9f);
    EXPECT_EQ(processor->getEffectParameter(0), 0.25f);
    installation->callHostFromEffect(audioMasterUpdateDisplay);
    ASSERT_TRUE(waitFor([this] { return !processor->isParameterForwardingSuppressed(); }));
    processor->setParameter(0, 0.9f);
    EXPECT_EQ(processor->getEffectParameter(0), 0.9f);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

TEST_F(RefreshTimer, IgnoredBlocksDoNotHoldLaterRefreshesBack)
{
    const uint8_t eleven[11] = {};
    processor->setStateInformation(eleven, sizeof(eleven));
    uint8_t foreign[16] = {0, 0, 0, 1, 0, 0, 0, 1};
    EffectStateBlock::writeUint32(foreign + 8, 0x12345678);
    processor->setStateInformation(foreign, sizeof(foreign));

    installation->callHostFromEffect(audioMasterUpdateDisplay);
    EXPECT_TRUE(waitFor([this] { return listener.refreshesSeen == 1; }));
}

TEST_F(RefreshTimer, ProcessorsDestroyedWhileTheirTimersRunLeaveNothingBehind)
{
    processor->removeListener(&listener);
    processor.reset();
    for (int round = 0; round < 20; ++round)
    {
        QuennetAudioProcessor transient;
        installation->callHostFromEffect(audioMasterUpdateDisplay);
        std::this_thread::sleep_for(milliseconds(round * 13 % 120));
    }
    processor = std::make_unique<QuennetAudioProcessor>();
    processor->addListener(&listener);
    EXPECT_EQ(installation->log().liveInstances, 1);
}

TEST(MessageThreadHelper, StartsRunsTimersAndStopsRepeatedly)
{
    for (int cycle = 0; cycle < 3; ++cycle)
    {
        MessageThread thread;
        ASSERT_TRUE(thread.start());
        EXPECT_TRUE(thread.isRunning());
        EXPECT_FALSE(thread.start()) << "one message thread at a time";

        std::atomic<bool> ranOnMessageThread{false};
        juce::MessageManager::callAsync(
            [&] { ranOnMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread(); });
        EXPECT_TRUE(waitFor([&] { return ranOnMessageThread.load(); }));

        struct Ticker : juce::Timer
        {
            std::atomic<int> ticks{0};
            void timerCallback() override { ++ticks; }
        } ticker;
        ticker.startTimer(10);
        EXPECT_TRUE(waitFor([&] { return ticker.ticks >= 2; }));
        ticker.stopTimer();

        thread.stop();
        EXPECT_FALSE(thread.isRunning());
        EXPECT_EQ(juce::MessageManager::getInstanceWithoutCreating(), nullptr);
        thread.stop(); // a second stop does nothing
    }
}

} // namespace
