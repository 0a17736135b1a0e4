// The module's process procedure allocates nothing, not even when the block length changes: every
// allocation the audio thread makes through operator new (and, outside sanitizer builds, through
// malloc and its relatives) is counted while blocks run. The module and the effect are loaded from
// disk; their calls resolve to the counter's replacements in this program.
//
// The play head asks the host's transport inside every block. The test host's own transport
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

#include <atomic>

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
        // Each change still reached the effect: suspended, told the new size, resumed.
        EXPECT_EQ(setBlockSizeBefore + 6, countDispatcherCalls(log, effSetBlockSize));
        EXPECT_EQ(2048, log.process.frames);
    }
}
