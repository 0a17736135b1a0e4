// The module's native process procedure driven as the host drives it: one context record per
// instance, audio in the host's own buffers, MIDI from the host's node, the bypass packet, block
// lengths that change, and instances the host has not finished setting up.

#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostController.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

using namespace testhost;

namespace
{

constexpr int32_t kMaxBlock = 1024;

// Distinct samples, so that a shifted or swapped channel shows.
void fillRamps(ProcessingContext& context)
{
    context.FillInputs(0.0f);
    for (int32_t channel = 0; channel < context.InputCount(); ++channel)
        for (int32_t n = 0; n < kMaxBlock; ++n)
            context.Input(channel)[n] = 0.001f * static_cast<float>(n) * (channel == 0 ? 1.0f : -2.0f);
}

// The master bypass set by the host: the value goes to the data model, comes back as the packet
// for context field 3, and the host writes it into the context.
void setBypass(DataModelInstance& dataModel, ProcessingContext& context, bool bypassed)
{
    dataModel->SetParameterNormalizedValue("MasterBypassID", bypassed ? 1.0 : 0.0);
    dataModel.DeliverAutomation();
    dataModel->GenerateCoefficients();
    context.DeliverPackets(*dataModel.Controller());
}

int32_t bypassField(const ProcessingContext& context)
{
    return *static_cast<const int32_t*>(context.FieldValue(3));
}

// One stereo instance of the test effect, ready to render.
class StereoProcessing : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.scanned());
        mInstance.emplace(session, kStereoComponent, kMaxBlock);
        ASSERT_TRUE(mInstance->ready());
    }

    ProcessingInstance& instance() { return *mInstance; }
    ProcessingContext& context() { return mInstance->context; }

    PlugInSession session{testEffectPath()};

private:
    std::optional<ProcessingInstance> mInstance;
};

} // namespace

TEST(Processing, EachConfigurationRendersSampleExactInPlaceInTheHostsOutputs)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    const auto renderRamps = [&](size_t c, ProcessingInstance& instance)
    {
        ProcessingContext& context = instance.context;
        fillRamps(context);
        const int processBefore = session.bundle().log().process.calls;

        instance.process();

        const TestEffectProcessLog& process = session.bundle().log().process;
        ASSERT_EQ(processBefore + 1, process.calls);
        EXPECT_EQ(kMaxBlock, process.frames);
        // The effect worked in the host's first output buffer itself.
        EXPECT_EQ(reinterpret_cast<uintptr_t>(context.Output(0)), process.outputs[0]);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(context.Output(0)), process.inputs[0]);
        for (int32_t n = 0; n < kMaxBlock; ++n)
        {
            const float in0 = context.Input(0)[n];
            if (c == kStereoComponent)
            {
                const float in1 = context.Input(1)[n];
                ASSERT_EQ(testEffectOutput0(in0, in1), context.Output(0)[n]) << n;
                ASSERT_EQ(testEffectOutput1(in0, in1), context.Output(1)[n]) << n;
            }
            else if (c == kMonoToStereoComponent)
            {
                // The one input feeds both of the effect's inputs; both outputs are the host's.
                ASSERT_EQ(testEffectOutput0(in0, in0), context.Output(0)[n]) << n;
                ASSERT_EQ(testEffectOutput1(in0, in0), context.Output(1)[n]) << n;
            }
            else
            {
                // One channel for both of the effect's inputs and outputs: the second output is
                // written last.
                ASSERT_EQ(testEffectOutput1(in0, in0), context.Output(0)[n]) << n;
            }
        }
        // The host's inputs are left as they were.
        EXPECT_EQ(0.001f * 5.0f, context.Input(0)[5]);
    };
    forEachConfiguration(session, kMaxBlock, renderRamps);
}

TEST_F(StereoProcessing, ABypassedBlockPassesTheInputDryAndTheEffectIsNotCalled)
{
    DataModelInstance& dataModel = instance().dataModel;
    ProcessingContext& context = this->context();

    setBypass(dataModel, context, true);
    ASSERT_EQ(1, bypassField(context));
    fillRamps(context);
    const TestEffectLog& log = session.bundle().log();
    int before = log.count;
    instance().process();
    EXPECT_EQ(before, log.count) << "the effect received a call";
    for (int32_t n = 0; n < kMaxBlock; ++n)
    {
        ASSERT_EQ(context.Input(0)[n], context.Output(0)[n]) << n;
        ASSERT_EQ(context.Input(1)[n], context.Output(1)[n]) << n;
    }

    // A new block length neither prepares the effect nor processes it.
    context.SetBlockLength(256);
    before = log.count;
    instance().process();
    EXPECT_EQ(before, log.count) << "the effect received a call";

    // Bypass off: the effect processes again.
    setBypass(dataModel, context, false);
    ASSERT_EQ(0, bypassField(context));
    before = log.count;
    instance().process();
    EXPECT_GE(findEffectCall(log, kTestCallProcess, 0, before), 0);
}

TEST_F(StereoProcessing, MidiPacketsReachTheEffectAtTimestampsInsideTheBlock)
{
    ProcessingContext& context = this->context();
    context.SetBlockLength(512);

    AAX_CMidiPacket tooLong = MidiNode::Packet(5, {0x90, 62, 90});
    tooLong.mLength = 200; // claims more than a packet can hold
    context.Midi().SetPackets({MidiNode::Packet(100, {0x90, 60, 100}), MidiNode::Packet(70000, {0x80, 60, 0}),
                               MidiNode::Packet(0xFFFFFFFFu, {0xB0, 7, 64}), tooLong});
    instance().process();

    const TestEffectMidiLog& midi = session.bundle().log().midi;
    ASSERT_EQ(1, midi.calls);
    ASSERT_EQ(4, midi.count);
    EXPECT_EQ(0, midi.badRecords);
    // In time order: the packet before the block at its first sample, the one after it at its last.
    const int32_t expectedFrames[] = {0, 5, 100, 511};
    const uint8_t expectedStatus[] = {0xB0, 0x90, 0x90, 0x80};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(expectedFrames[i], midi.deltaFrames[i]) << i;
        EXPECT_EQ(expectedStatus[i], midi.data[i][0]) << i;
    }
    EXPECT_EQ(100, midi.data[2][2]);

    // No MIDI node: a block without MIDI.
    context.SetMidiConnected(false);
    const int processBefore = session.bundle().log().process.calls;
    instance().process();
    EXPECT_EQ(1, midi.calls);
    EXPECT_EQ(processBefore + 1, session.bundle().log().process.calls);
}

TEST(Processing, BlockLengthChangesNeverPrepareTheEffectAgainAndLongBlocksArriveInPreparedPieces)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    session.host().config.sampleRate = 96000.0f;
    constexpr int32_t kLongBlock = 2500;
    ProcessingInstance instance(session, kStereoComponent, kLongBlock);
    ASSERT_TRUE(instance.ready());
    ProcessingContext& context = instance.context;
    const TestEffectLog& log = session.bundle().log();
    const int preparedAt = findEffectCall(log, kTestCallDispatcher, effSetBlockSize);
    ASSERT_GE(preparedAt, 0);
    EXPECT_EQ(1024, log.calls[preparedAt].value);

    // Shorter blocks: the effect was told a maximum, so each arrives whole, with no suspend, rate,
    // size or resume before it; the effect still hears 1024 when it asks for the block size.
    const int before = log.count;
    for (int32_t length : {256, 1, 1000})
    {
        context.SetBlockLength(length);
        const int blockStart = log.count;
        instance.process();
        const int block = findEffectCall(log, kTestCallProcess, 0, blockStart);
        ASSERT_GE(block, 0) << length;
        EXPECT_EQ(static_cast<float>(length), log.calls[block].opt);
        EXPECT_EQ(1024, session.bundle().callHostFromEffect(audioMasterGetBlockSize)) << length;
    }
    for (int32_t opcode : {effMainsChanged, effSetSampleRate, effSetBlockSize})
        EXPECT_EQ(-1, findEffectCall(log, kTestCallDispatcher, opcode, before)) << opcode;

    // A longer block goes through in pieces of the prepared size, in order, over the same memory.
    context.FillInputs(0.0f);
    for (int32_t n = 0; n < kLongBlock; ++n)
        context.Input(0)[n] = static_cast<float>(n);
    context.SetBlockLength(kLongBlock);
    // An event reaches the piece it falls in, at its offset there.
    const std::pair<uint32_t, int32_t> eventAndOffset[] = {
        {10, 10}, {1500, 1500 - 1024}, {2400, 2400 - 2048}};
    for (const auto& [timestamp, offset] : eventAndOffset)
    {
        context.Midi().SetPackets({MidiNode::Packet(timestamp, {0x90, 60, 1})});
        const int midiCalls = log.midi.calls;
        instance.process();
        EXPECT_EQ(midiCalls + 1, log.midi.calls) << timestamp;
        EXPECT_EQ(1, log.midi.count) << timestamp;
        EXPECT_EQ(offset, log.midi.deltaFrames[0]) << timestamp;
    }
    context.Midi().SetPackets({});
    const int longStart = log.count;
    instance.process();
    std::vector<float> pieces;
    for (int call = longStart; call < std::min(log.count, kTestEffectLogCapacity); ++call)
        if (log.calls[call].kind == kTestCallProcess)
            pieces.push_back(log.calls[call].opt);
    EXPECT_EQ((std::vector<float>{1024.0f, 1024.0f, 452.0f}), pieces);
    EXPECT_EQ(-1, findEffectCall(log, kTestCallDispatcher, effSetBlockSize, longStart));
    for (int32_t n = 0; n < kLongBlock; ++n)
        ASSERT_EQ(static_cast<float>(n) + kTestEffectOutput0Offset, context.Output(0)[n]) << n;
}

TEST(Processing, InstancesWithoutTheirPrivateDataAreSkippedAndTheOthersRender)
{
    OpenedPlugIn opened(testEffectPath());
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& dataModel = opened.dataModel();
    const ComponentDescription& component = session.component(kStereoComponent);
    ProcessingContext unfilled(component, kMaxBlock);
    ProcessingContext filled(component, kMaxBlock);
    ASSERT_EQ(AAX_SUCCESS, filled.ResetPrivateData(dataModel.Get()));
    unfilled.FillInputs(0.5f);
    filled.FillInputs(0.5f);

    RunProcess(component.process, {&unfilled, &filled});
    EXPECT_EQ(0.0f, unfilled.Output(0)[0]);
    EXPECT_EQ(testEffectOutput0(0.5f, 0.5f), filled.Output(0)[0]);
    EXPECT_EQ(1, session.bundle().log().process.calls);

    // Private data of another field is left alone; field 5 gets the instance in every 8-byte slot.
    uint64_t slots[3] = {1, 2, 3};
    EXPECT_EQ(AAX_SUCCESS, dataModel->ResetFieldData(4, slots, sizeof slots));
    EXPECT_EQ(1u, slots[0]);
    EXPECT_EQ(AAX_SUCCESS, dataModel->ResetFieldData(5, slots, 20));
    EXPECT_NE(1u, slots[0]);
    EXPECT_EQ(slots[0], slots[1]);
    EXPECT_EQ(3u, slots[2]);
}

TEST(Processing, TheEffectsDelayIsReportedAsTheSignalLatency)
{
    OpenedPlugIn opened(testEffectPath(), [](TestEffectConfig& config) { config.initialDelay = 64; });
    ASSERT_TRUE(opened.ready());
    PlugInSession& session = opened.session;
    DataModelInstance& dataModel = opened.dataModel();
    EXPECT_EQ(64, dataModel.Controller()->SignalLatency());
    EXPECT_EQ(1u, session.host().Log().Count("Controller", "SetSignalLatency"));

    // Offline rendering notifications are taken and answered like any other.
    EXPECT_EQ(AAX_SUCCESS, dataModel->NotificationReceived(AAX_FourCC('A', 'X', 'o', 'f'), nullptr, 0));
    EXPECT_EQ(AAX_SUCCESS, dataModel->NotificationReceived(AAX_FourCC('A', 'X', 'o', 'x'), nullptr, 0));
}
