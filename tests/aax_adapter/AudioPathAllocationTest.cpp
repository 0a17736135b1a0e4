// The module's process procedure allocates nothing, not even when the block length changes: every
// allocation the audio thread makes through operator new (and, outside sanitizer builds, through
// malloc and its relatives) is counted while blocks run. The module and the effect are loaded from
// disk; their calls resolve to the counter's replacements in this program.
//
// The play head asks the host's transport inside every block whose effect asks for the transport,
// as the test effect does in every block. The test host's own transport
// records each call (which allocates), so here the instance is given a transport that answers
// without allocating, and everything counted is the module's and the effect's.

#include "tests/aax_adapter/PlugInSession.h"
#include "aax_library/AAX_GUIDs.h"
#include "aax_library/host/AAX_IACFEffectParameters.h"
#include "aax_library/host/AAX_IACFTransport.h"
#include "host_kit/AllocationCounter.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"
#include "host_kit/ProcessingContext.h"
#include "platform/NonCopyable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

using namespace testhost;

namespace
{

// A playing transport that answers every query from fixed values, allocating nothing.
class QuietTransport final : public AAX_IACFTransport_V2
{
public:
    ACFRESULT QueryInterface(const acfIID& iid, void** out) override
    {
        if (iid == IID_IACFUnknown || iid == IID_IAAXTransportV1 || iid == IID_IAAXTransportV2)
        {
            *out = this;
            return ACF_OK;
        }
        *out = nullptr;
        return ACF_E_NOINTERFACE;
    }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }

    AAX_Result GetCurrentTempo(double* beatsPerMinute) override
    {
        ++queries;
        *beatsPerMinute = 128.0;
        return AAX_SUCCESS;
    }
    AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) override
    {
        *numerator = 3;
        *denominator = 4;
        return AAX_SUCCESS;
    }
    AAX_Result IsTransportPlaying(bool* playing) override
    {
        *playing = true;
        return AAX_SUCCESS;
    }
    AAX_Result GetCurrentTickPosition(int64_t* ticks) override
    {
        *ticks = 4 * 960000;
        return AAX_SUCCESS;
    }
    AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) override
    {
        *looping = true;
        *startTick = 0;
        *endTick = 8 * 960000;
        return AAX_SUCCESS;
    }
    AAX_Result GetCurrentNativeSampleLocation(int64_t* sampleLocation) override
    {
        *sampleLocation = 48000;
        return AAX_SUCCESS;
    }
    AAX_Result GetCustomTickPosition(int64_t*, int64_t) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result GetBarBeatPosition(int32_t*, int32_t*, int64_t*, int64_t) override
    {
        return AAX_ERROR_UNIMPLEMENTED;
    }
    AAX_Result GetTicksPerQuarter(uint32_t*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result GetCurrentTicksPerBeat(uint32_t*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result GetTimelineSelectionStartPosition(int64_t* sampleLocation) override
    {
        *sampleLocation = 0;
        return AAX_SUCCESS;
    }
    AAX_Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) override
    {
        *frameRate = 7;
        *offset = 100;
        return AAX_SUCCESS;
    }
    AAX_Result GetFeetFramesInfo(int32_t*, int64_t*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result IsMetronomeEnabled(int32_t*) override { return AAX_ERROR_UNIMPLEMENTED; }

    std::atomic<int> queries{0};
};

// The test host's controller with the quiet transport in place of its own.
class ControllerWithQuietTransport final : public IACFUnknown
{
public:
    ControllerWithQuietTransport(HostController* controller, QuietTransport* transport)
        : controller(controller), transport(transport)
    {
    }
    ACFRESULT QueryInterface(const acfIID& iid, void** out) override
    {
        if (iid == IID_IAAXTransportV1 || iid == IID_IAAXTransportV2)
            return transport->QueryInterface(iid, out);
        return controller->QueryInterface(iid, out);
    }
    uint32_t AddRef() override { return controller->AddRef(); }
    uint32_t Release() override { return controller->Release(); }

private:
    HostController* controller;
    QuietTransport* transport;
};

// One data-model object of a component created and initialised as the host does, with that
// controller, and a processing context whose private data names it.
class QuietInstance : private NonCopyable
{
public:
    QuietInstance(PlugInSession& session, size_t componentIndex, int32_t maxBlockLength)
        : component(session.useComponent(componentIndex)), hostController(session.host().NewController()),
          controller(hostController, &transport), context(component, maxBlockLength)
    {
        auto* object = static_cast<IACFUnknown*>(session.dataModelFactory()());
        void* dataModelInterface = nullptr;
        if (object != nullptr &&
            object->QueryInterface(IID_IAAXEffectParametersV2, &dataModelInterface) == ACF_OK)
            dataModel = static_cast<AAX_IACFEffectParameters_V2*>(dataModelInterface);
        if (dataModel != nullptr)
            initializeResult = dataModel->Initialize(&controller);
        if (initializeResult == AAX_SUCCESS)
            privateDataResult = context.ResetPrivateData(dataModel);
    }
    ~QuietInstance()
    {
        if (dataModel == nullptr)
            return;
        dataModel->Uninitialize();
        dataModel->Release();
    }

    bool ready() const { return initializeResult == AAX_SUCCESS && privateDataResult == AAX_SUCCESS; }

    // The master bypass as a host sets it: request, acceptance, packet into the context.
    void setBypass(ProcessingContext& context, bool bypassed)
    {
        dataModel->SetParameterNormalizedValue("MasterBypassID", bypassed ? 1.0 : 0.0);
        hostController->AutomationDelegate()->DeliverSetValueRequests(dataModel);
        dataModel->GenerateCoefficients();
        context.DeliverPackets(*hostController);
    }

    const ComponentDescription& component;
    QuietTransport transport;
    HostController* hostController;
    ControllerWithQuietTransport controller;
    ProcessingContext context;
    AAX_IACFEffectParameters_V2* dataModel = nullptr;
    AAX_Result initializeResult = AAX_ERROR_NOT_INITIALIZED;
    AAX_Result privateDataResult = AAX_ERROR_NOT_INITIALIZED;
};

} // namespace

TEST(AudioPathAllocation, BlocksAtAKnownLengthAllocateNothingInAnyConfiguration)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    for (size_t c : {kMonoComponent, kMonoToStereoComponent, kStereoComponent})
    {
        SCOPED_TRACE(c);
        QuietInstance instance(session, c, 1024);
        ASSERT_TRUE(instance.ready());
        const ComponentDescription& component = instance.component;
        ProcessingContext& context = instance.context;
        context.FillInputs(0.25f);
        std::vector<AAX_CMidiPacket> midi;
        for (uint32_t i = 0; i < 64; ++i)
            midi.push_back(MidiNode::Packet(i * 7, {0x90, static_cast<uint8_t>(i), 100}));
        context.Midi().SetPackets(midi);
        // The first block at a new length may prepare (and allocate); the following ones may not.
        context.SetBlockLength(480);
        RunProcess(component.process, {&context});
        const int processBefore = session.bundle().log().process.calls;
        {
            const AllocationCountingWindow window;
            for (int block = 0; block < 50; ++block)
                RunProcess(component.process, {&context});
            EXPECT_EQ(0, window.count().allocations);
        }
        EXPECT_EQ(processBefore + 50, session.bundle().log().process.calls);
        EXPECT_EQ(64, session.bundle().log().midi.count);
        // The play head was asked in every block and the effect saw its answer.
        EXPECT_GE(instance.transport.queries.load(), 50);
        EXPECT_EQ(128.0, session.bundle().log().process.timeInfoTempo);
        EXPECT_EQ(4.0, session.bundle().log().process.timeInfoPpq);

        // The same for bypassed blocks.
        instance.setBypass(context, true);
        RunProcess(component.process, {&context});
        {
            const AllocationCountingWindow window;
            for (int block = 0; block < 20; ++block)
                RunProcess(component.process, {&context});
            EXPECT_EQ(0, window.count().allocations);
        }
    }
}

TEST(AudioPathAllocation, ABlockLengthChangeAllocatesNothing)
{
    for (const bool wide : {false, true})
    {
        SCOPED_TRACE(wide);
        TestEffectConfig config = testEffectDefaults();
        // An effect declaring more channels than the host has also uses the scratch channels.
        if (wide)
            config.numInputs = config.numOutputs = 8;
        PlugInSession session(testEffectPath(), config);
        ASSERT_TRUE(session.scanned());
        QuietInstance instance(session, kStereoComponent, 4096);
        ASSERT_TRUE(instance.ready());
        const ComponentDescription& component = instance.component;
        ProcessingContext& context = instance.context;
        context.SetBlockLength(512);
        RunProcess(component.process, {&context});

        const TestEffectLog& log = session.bundle().log();
        const int setBlockSizeBefore = countDispatcherCalls(log, effSetBlockSize);
        {
            const AllocationCountingWindow window;
            for (int32_t length : {1024, 64, 1000, 4096, 64, 2048})
            {
                context.SetBlockLength(length);
                RunProcess(component.process, {&context});
                RunProcess(component.process, {&context});
            }
            EXPECT_EQ(0, window.count().allocations);
        }
        // No change reached the effect as a new size; the longest blocks came in prepared pieces.
        EXPECT_EQ(setBlockSizeBefore, countDispatcherCalls(log, effSetBlockSize));
        EXPECT_EQ(1024, log.process.frames);
    }
}

// A host scrubbing: block lengths jump around, some longer than the prepared size. The effect is
// never suspended or resumed after its preparation, nothing allocates, and a delay's tail runs on
// as if the blocks had all been of one length.
TEST(AudioPathAllocation, AScrubLikeRunOfBlockLengthsKeepsTheEffectRunningAndAllocatesNothing)
{
    constexpr int32_t kScrub[] = {1024, 37, 512, 1, 1024, 4096};
    constexpr int32_t kMaxBlock = 4096;
    {
        PlugInSession session(testEffectPath());
        ASSERT_TRUE(session.scanned());
        QuietInstance instance(session, kStereoComponent, kMaxBlock);
        ASSERT_TRUE(instance.ready());
        const TestEffectLog& log = session.bundle().log();
        const int mainsBefore = countDispatcherCalls(log, effMainsChanged);
        const int processBefore = log.process.calls;
        {
            const AllocationCountingWindow window;
            for (int32_t length : kScrub)
            {
                instance.context.SetBlockLength(length);
                RunProcess(instance.component.process, {&instance.context});
            }
            EXPECT_EQ(0, window.count().allocations);
        }
        EXPECT_EQ(mainsBefore, countDispatcherCalls(log, effMainsChanged));
        // Five blocks whole, the last in four pieces.
        EXPECT_EQ(processBefore + 9, log.process.calls);
    }

    // The bundled delay (250 ms at 48 kHz): an impulse at the start echoes after 12000 samples,
    // well past the scrub, and arrives exactly as with blocks of one length throughout.
    constexpr int32_t kTotal = 16 * 1024;
    const auto render = [&](const std::vector<int32_t>& lengths)
    {
        PlugInSession session(exampleDelayPath());
        QuietInstance instance(session, kStereoComponent, kMaxBlock);
        std::vector<float> output;
        if (!session.scanned() || !instance.ready())
            return output;
        ProcessingContext& context = instance.context;
        int32_t done = 0;
        size_t next = 0;
        while (done < kTotal)
        {
            const int32_t length = std::min(next < lengths.size() ? lengths[next++] : 1024, kTotal - done);
            context.SetBlockLength(length);
            context.FillInputs(0.0f);
            if (done == 0)
                context.Input(0)[0] = context.Input(1)[0] = 1.0f;
            RunProcess(instance.component.process, {&context});
            output.insert(output.end(), context.Output(0), context.Output(0) + length);
            done += length;
        }
        return output;
    };
    const std::vector<float> scrubbed = render(std::vector<int32_t>(std::begin(kScrub), std::end(kScrub)));
    const std::vector<float> steady = render({});
    ASSERT_EQ(static_cast<size_t>(kTotal), scrubbed.size());
    ASSERT_EQ(static_cast<size_t>(kTotal), steady.size());
    float echo = 0.0f;
    for (int32_t n = 11000; n < kTotal; ++n)
        echo = std::max(echo, std::abs(scrubbed[static_cast<size_t>(n)]));
    EXPECT_GT(echo, 0.05f) << "the delay's tail did not survive";
    for (int32_t n = 0; n < kTotal; ++n)
        ASSERT_NEAR(steady[static_cast<size_t>(n)], scrubbed[static_cast<size_t>(n)], 1e-5f) << n;
}

// MIDI beyond what the block's buffer holds is dropped, never allocated for.
TEST(AudioPathAllocation, MidiBeyondTheReserveIsDroppedWithoutAllocating)
{
    PlugInSession session(testEffectPath());
    ASSERT_TRUE(session.scanned());
    QuietInstance instance(session, kStereoComponent, 1024);
    ASSERT_TRUE(instance.ready());
    ProcessingContext& context = instance.context;
    context.SetBlockLength(512);
    RunProcess(instance.component.process, {&context});
    std::vector<AAX_CMidiPacket> midi;
    constexpr uint32_t kPackets = 10000;
    for (uint32_t i = 0; i < kPackets; ++i)
        midi.push_back(MidiNode::Packet(i % 512, {0x90, static_cast<uint8_t>(i % 128), 100}));
    context.Midi().SetPackets(midi);
    const TestEffectLog& log = session.bundle().log();
    {
        const AllocationCountingWindow window;
        RunProcess(instance.component.process, {&context});
        EXPECT_EQ(0, window.count().allocations);
    }
    // The effect's log holds the events of its last effProcessEvents.
    const int delivered = log.midi.count;
    EXPECT_GT(delivered, 1000);
    EXPECT_LT(delivered, static_cast<int>(kPackets));
    // The same again: the buffer kept its size.
    {
        const AllocationCountingWindow window;
        RunProcess(instance.component.process, {&context});
        EXPECT_EQ(0, window.count().allocations);
    }
    EXPECT_EQ(delivered, log.midi.count);
}

// An effect with more channels than the host, in blocks far longer than any before: its scratch
// channels are never grown on the audio thread.
TEST(AudioPathAllocation, AWideEffectInVeryLongBlocksAllocatesNothing)
{
    TestEffectConfig config = testEffectDefaults();
    config.numInputs = config.numOutputs = 8;
    PlugInSession session(testEffectPath(), config);
    ASSERT_TRUE(session.scanned());
    constexpr int32_t kLongBlock = 20000;
    QuietInstance instance(session, kStereoComponent, kLongBlock);
    ASSERT_TRUE(instance.ready());
    ProcessingContext& context = instance.context;
    context.FillInputs(0.25f);
    context.SetBlockLength(kLongBlock);
    {
        const AllocationCountingWindow window;
        RunProcess(instance.component.process, {&context});
        EXPECT_EQ(0, window.count().allocations);
    }
    EXPECT_EQ(0.25f + 10.0f * 0.25f + kTestEffectOutput0Offset, context.Output(0)[kLongBlock - 1]);
    EXPECT_EQ(0.0f, session.bundle().log().process.extraInputPeak);
}
