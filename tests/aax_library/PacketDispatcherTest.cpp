#include "aax_library/AAX_CPacketDispatcher.h"
#include "aax_library/AAX_VController.h"

#include "TestPlugIn.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostController.h"
#include "host_kit/TestHost.h"
#include "tests/support/TestWaiting.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

// Fills packets with a running number and records who asked; can fail or run code meanwhile.
struct Worker
{
    AAX_Result Fill(AAX_CParamID id, AAX_CPacket& packet)
    {
        calls.emplace_back(id);
        if (during)
            during();
        const int32_t value = ++counter;
        std::memcpy(packet.GetPtr<int32_t>(), &value, sizeof value);
        return result;
    }

    std::vector<std::string> calls;
    int32_t counter = 0;
    AAX_Result result = AAX_SUCCESS;
    std::function<void()> during;
};

class PacketDispatcher : public ::testing::Test
{
protected:
    PacketDispatcher() : mController(mHost.NewController()), mWrapper(mController)
    {
        mDispatcher.Initialize(&mWrapper, nullptr);
    }

    void Register(const char* id, AAX_CFieldIndex field)
    {
        const AAX_CPacketHandler<Worker> handler(&mWorker, &Worker::Fill);
        ASSERT_EQ(AAX_SUCCESS, mDispatcher.RegisterPacket(id, field, handler));
    }
    std::vector<testhost::PostedPacket> Posted() const { return mController->PostedPackets(); }

    testhost::TestHost mHost;
    testhost::HostController* mController;
    AAX_VController mWrapper;
    Worker mWorker;
    AAX_CPacketDispatcher mDispatcher;
};
} // namespace

TEST_F(PacketDispatcher, NewPacketIsDirtyAndPostedByTheFirstDispatchOnly)
{
    Register("gain", 4);
    EXPECT_EQ(AAX_SUCCESS, mDispatcher.Dispatch());
    EXPECT_EQ(AAX_SUCCESS, mDispatcher.Dispatch());
    const auto posted = Posted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(4, posted[0].field);
    EXPECT_EQ((Bytes{1, 0, 0, 0}), posted[0].payload);

    EXPECT_EQ(AAX_SUCCESS, mDispatcher.SetDirty("gain"));
    EXPECT_EQ(AAX_SUCCESS, mDispatcher.Dispatch());
    EXPECT_EQ(2u, Posted().size());
}

TEST_F(PacketDispatcher, TwoIdentifiersOnOneFieldArePostedOnceByTheFirstInIdentifierOrder)
{
    Register("b", 5);
    Register("a", 5);
    mDispatcher.Dispatch();
    mWorker.calls.clear();
    mDispatcher.SetDirty("b");
    mDispatcher.SetDirty("a");
    mDispatcher.Dispatch();
    EXPECT_EQ(std::vector<std::string>{"a"}, mWorker.calls);
    EXPECT_EQ(2u, Posted().size());
}

TEST_F(PacketDispatcher, UpdatingAnUnboundIdentifierChangesNothing)
{
    Register("gain", 4);
    mDispatcher.Dispatch();
    EXPECT_EQ(AAX_SUCCESS, mDispatcher.SetDirty("Gain"));
    EXPECT_EQ(AAX_SUCCESS, mDispatcher.SetDirty(nullptr));
    EXPECT_EQ(AAX_SUCCESS, mDispatcher.Dispatch());
    EXPECT_EQ(1u, Posted().size());
}

TEST_F(PacketDispatcher, FailingHandlerIsNotPostedNorRetriedUntilItsIdentifierIsUpdated)
{
    Register("gain", 4);
    mWorker.result = AAX_ERROR_NULL_OBJECT;
    mDispatcher.Dispatch();
    mWorker.result = AAX_SUCCESS;
    mDispatcher.Dispatch();
    EXPECT_EQ(1u, mWorker.calls.size());
    EXPECT_TRUE(Posted().empty());
    mDispatcher.SetDirty("gain");
    mDispatcher.Dispatch();
    EXPECT_EQ(2u, mWorker.calls.size());
    EXPECT_EQ(1u, Posted().size());

    // A handler without a member function to call fails the same way.
    const AAX_CPacketHandler<Worker> empty(
        &mWorker, static_cast<AAX_CPacketHandler<Worker>::IdentifiedHandler>(nullptr));
    ASSERT_EQ(AAX_SUCCESS, mDispatcher.RegisterPacket("pan", 6, empty));
    mDispatcher.Dispatch();
    EXPECT_EQ(1u, Posted().size());
}

TEST_F(PacketDispatcher, DispatchAnswersTheResultOfItsLastPost)
{
    Register("gain", 4);
    mHost.config.SetResult("Controller.PostPacket", AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(AAX_ERROR_UNIMPLEMENTED, mDispatcher.Dispatch());
    mHost.config.SetResult("Controller.PostPacket", AAX_SUCCESS);
    EXPECT_EQ(AAX_SUCCESS, mDispatcher.Dispatch());
}

TEST_F(PacketDispatcher, HandlerMayMarkPacketsFromInsideDispatchOnTheSameThread)
{
    Register("a", 1);
    Register("b", 2);
    // Handling "a" updates "b" (not yet handled) and "a" itself (just handled): neither may block.
    mWorker.during = [&]
    {
        if (mWorker.calls.back() == "a")
        {
            mDispatcher.SetDirty("b");
            mDispatcher.SetDirty("a");
        }
    };
    ASSERT_EQ(AAX_SUCCESS, mDispatcher.Dispatch());
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), mWorker.calls);
    // The update made while "a" was being filled is not lost: it is posted by the next dispatch.
    mWorker.during = nullptr;
    mDispatcher.Dispatch();
    EXPECT_EQ((std::vector<std::string>{"a", "b", "a"}), mWorker.calls);
    EXPECT_EQ(3u, Posted().size());
}

TEST_F(PacketDispatcher, AnotherThreadWaitsForARunningDispatch)
{
    Register("gain", 4);
    std::promise<void> entered;
    std::promise<void> proceed;
    std::shared_future<void> proceedSignal = proceed.get_future().share();
    mWorker.during = [&]
    {
        entered.set_value();
        proceedSignal.wait();
    };
    std::thread dispatching([&] { mDispatcher.Dispatch(); });
    entered.get_future().wait();

    const BlockedUntilReleased marking =
        runBlockedUntilReleased([&] { mDispatcher.SetDirty("gain"); }, [&] { proceed.set_value(); });
    EXPECT_FALSE(marking.finishedBeforeRelease) << "marked a packet while a dispatch was running";
    EXPECT_TRUE(marking.finishedAfterRelease) << "never marked it once the dispatch was over";
    dispatching.join();
}

TEST_F(PacketDispatcher, WithoutAControllerDirtyPacketsWaitForOne)
{
    AAX_CPacketDispatcher detached;
    const AAX_CPacketHandler<Worker> handler(&mWorker, &Worker::Fill);
    ASSERT_EQ(AAX_SUCCESS, detached.RegisterPacket("gain", 4, handler));
    EXPECT_EQ(AAX_ERROR_INVALID_PARAMETER_ID, detached.RegisterPacket(nullptr, 4, handler));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, detached.RegisterPacket("gain", 4, nullptr));
    EXPECT_EQ(AAX_SUCCESS, detached.Dispatch());
    EXPECT_TRUE(mWorker.calls.empty());
    detached.Initialize(&mWrapper, nullptr);
    detached.Dispatch();
    EXPECT_EQ(1u, Posted().size());
}

TEST(SingleValuePacket, CarriesBoolsAsInt32AndFloatsAsFloatInNativeOrder)
{
    testhost::TestHost host;
    TestDataModel::SetNextSetup(
        [](TestDataModel& model)
        {
            model.Parameters().AddParameter(NewBypassParameter());
            model.Parameters().AddParameter(NewLevelParameter("0", "Level", 0.75f));
            model.Packets().RegisterPacket(cDefaultMasterBypassID, 3);
            model.Packets().RegisterPacket("0", 4);
            model.Packets().RegisterPacket("missing", 5);
            return AAX_SUCCESS;
        });
    testhost::DataModelInstance instance(host, &TestDataModel::Create);
    ASSERT_EQ(AAX_SUCCESS, instance->GenerateCoefficients());
    Bytes payload;
    ASSERT_TRUE(instance.Controller()->LatestPacket(3, &payload));
    EXPECT_EQ((Bytes{0, 0, 0, 0}), payload);
    ASSERT_TRUE(instance.Controller()->LatestPacket(4, &payload));
    const float level = 0.75f;
    EXPECT_EQ(Bytes(reinterpret_cast<const uint8_t*>(&level), reinterpret_cast<const uint8_t*>(&level) + 4),
              payload);
    // No parameter behind the identifier: nothing is posted for it.
    EXPECT_FALSE(instance.Controller()->LatestPacket(5, &payload));
}
