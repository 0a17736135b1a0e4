// The binary contract with the host: every operation sits at the virtual-function position the
// host expects. These tests call raw vtable positions, as a host compiled elsewhere would, and
// check which operation answers. Positions 0 to 2 are IACFUnknown's everywhere.

#include "aax_library/AAX_CString.h"
#include "aax_library/host/AAX_IACFEffectGUI.h"
#include "aax_library/host/AAX_IACFEffectParameters.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostCollection.h"
#include "host_kit/HostComponentDescriptor.h"
#include "host_kit/HostController.h"
#include "host_kit/HostEffectDescriptor.h"
#include "host_kit/HostPropertyMap.h"
#include "host_kit/HostServices.h"
#include "host_kit/HostString.h"
#include "host_kit/HostTransport.h"
#include "host_kit/HostViewContainer.h"
#include "host_kit/MidiNode.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using namespace testhost;

namespace
{
// Calls the virtual function at `position` of object's primary vtable with exactly these
// argument types, bypassing the declarations under test.
template <class R, class... A> R CallPosition(void* object, size_t position, A... args)
{
    using Function = R (*)(void*, A...);
    void* const* vtable = *static_cast<void* const* const*>(object);
    return reinterpret_cast<Function>(vtable[position])(object, args...);
}

class Positions
{
public:
    explicit Positions(TestHost& host) : mHost(host) {}

    // The operation the host recorded for a call at position.
    template <class R = AAX_Result, class... A>
    std::string At(IACFUnknown* object, size_t position, A... args)
    {
        mHost.Log().Clear();
        CallPosition<R>(object, position, args...);
        const std::vector<Call> calls = mHost.Log().Calls();
        return calls.empty() ? std::string("(nothing)") : calls.back().operation;
    }

private:
    TestHost& mHost;
};

const char* const kText = "text";
} // namespace

TEST(InterfaceLayout, DescriptionInterfacesAnswerAtTheHostsPositions)
{
    TestHost host;
    Positions at(host);
    IACFUnknown* collection = host.Create<HostCollection>();
    for (size_t position = 3; position <= 6; ++position)
        EXPECT_EQ("Reserved" + std::to_string(position), at.At(collection, position));
    EXPECT_EQ("AddEffect", at.At(collection, 7, kText, static_cast<IACFUnknown*>(nullptr)));
    EXPECT_EQ("SetManufacturerName", at.At(collection, 8, kText));
    EXPECT_EQ("AddPackageName", at.At(collection, 9, kText));
    EXPECT_EQ("SetPackageVersion", at.At(collection, 10, uint32_t{1}));
    EXPECT_EQ("SetProperties", at.At(collection, 11, static_cast<IACFUnknown*>(nullptr)));

    IACFUnknown* effect = host.Create<HostEffectDescriptor>();
    IACFUnknown* none = nullptr;
    EXPECT_EQ("AddComponent", at.At(effect, 3, none));
    EXPECT_EQ("AddName", at.At(effect, 4, kText));
    EXPECT_EQ("AddCategory", at.At(effect, 5, uint32_t{16}));
    EXPECT_EQ("AddCategoryBypassParameter", at.At(effect, 6, uint32_t{16}, kText));
    EXPECT_EQ("AddProcPtr", at.At(effect, 7, static_cast<void*>(nullptr), int32_t{0}));
    EXPECT_EQ("SetProperties", at.At(effect, 8, none));
    EXPECT_EQ("AddResourceInfo", at.At(effect, 9, int32_t{0}, kText));
    EXPECT_EQ("AddMeterDescription", at.At(effect, 10, uint32_t{1}, kText, none));
    EXPECT_EQ("AddControlMIDINode", at.At(effect, 11, uint32_t{1}, int32_t{0}, kText, uint32_t{0xFFFF}));

    IACFUnknown* component = host.Create<HostComponentDescriptor>();
    uint32_t procId = 0;
    const uint32_t meters[1] = {7};
    EXPECT_EQ("Clear", at.At(component, 3));
    EXPECT_EQ("AddReservedField", at.At(component, 4, int32_t{0}, uint32_t{0}));
    EXPECT_EQ("AddAudioIn", at.At(component, 5, int32_t{0}));
    EXPECT_EQ("AddAudioOut", at.At(component, 6, int32_t{1}));
    EXPECT_EQ("AddAudioBufferLength", at.At(component, 7, int32_t{2}));
    EXPECT_EQ("AddSampleRate", at.At(component, 8, int32_t{3}));
    EXPECT_EQ("AddClock", at.At(component, 9, int32_t{3}));
    EXPECT_EQ("AddSideChainIn", at.At(component, 10, int32_t{3}));
    EXPECT_EQ("AddDataInPort", at.At(component, 11, int32_t{3}, uint32_t{4}, int32_t{1}));
    EXPECT_EQ("AddAuxOutputStem", at.At(component, 12, int32_t{3}, int32_t{1}, kText));
    EXPECT_EQ("AddPrivateData", at.At(component, 13, int32_t{5}, int32_t{8}, int32_t{0}));
    EXPECT_EQ("AddDmaInstance", at.At(component, 14, int32_t{3}, int32_t{0}));
    EXPECT_EQ("AddMIDINode", at.At(component, 15, int32_t{4}, int32_t{0}, kText, uint32_t{0xFFFF}));
    EXPECT_EQ("AddProcessProc_Native",
              at.At(component, 16, static_cast<void*>(nullptr), none, static_cast<void*>(nullptr),
                    static_cast<void*>(nullptr), &procId));
    EXPECT_EQ("AddProcessProc_TI", at.At(component, 17, kText, kText, none, kText, kText, &procId));
    EXPECT_EQ("AddMeters",
              at.At(component, 18, int32_t{3}, static_cast<const uint32_t*>(meters), uint32_t{1}));
    EXPECT_EQ("AddTemporaryData", at.At(component, 19, int32_t{6}, uint32_t{4}));

    IACFUnknown* map = host.Create<HostPropertyMap>();
    int32_t value = 0;
    const AAX_SPlugInIdentifierTriad triad{1, 2, 3};
    const AAX_SPlugInIdentifierTriad* ids = nullptr;
    uint32_t count = 0;
    EXPECT_EQ("GetProperty", at.At<AAX_CBoolean>(map, 3, int32_t{10}, &value));
    EXPECT_EQ("AddProperty", at.At(map, 4, int32_t{10}, int32_t{1}));
    EXPECT_EQ("RemoveProperty", at.At(map, 5, int32_t{10}));
    EXPECT_EQ("AddPropertyWithIDArray", at.At(map, 6, int32_t{20}, &triad, uint32_t{1}));
    EXPECT_EQ("GetPropertyWithIDArray", at.At<AAX_CBoolean>(map, 7, int32_t{20}, &ids, &count));

    IACFUnknown* services = host.Create<HostServices>();
    EXPECT_EQ("HandleAssertFailure", at.At(services, 3, kText, int32_t{1}, kText));
    EXPECT_EQ("Trace", at.At(services, 4, int32_t{0}, kText));
}

TEST(InterfaceLayout, RunTimeInterfacesAnswerAtTheHostsPositions)
{
    TestHost host;
    Positions at(host);
    IACFUnknown* controller = host.NewController();
    HostString text;
    float real = 0.0f;
    int32_t a = 0, b = 0;
    int64_t wide = 0;
    uint32_t count = 0;
    AAX_CBoolean flag = 0;
    AAX_CMidiPacket packet{};
    AAX_IString* out = &text;
    EXPECT_EQ("GetEffectID", at.At(controller, 3, out));
    EXPECT_EQ("GetSampleRate", at.At(controller, 4, &real));
    EXPECT_EQ("GetInputStemFormat", at.At(controller, 5, &a));
    EXPECT_EQ("GetOutputStemFormat", at.At(controller, 6, &a));
    EXPECT_EQ("GetSignalLatency", at.At(controller, 7, &a));
    EXPECT_EQ("GetCycleCount", at.At(controller, 8, int32_t{0}, &a));
    EXPECT_EQ("GetTODLocation", at.At(controller, 9, &wide));
    EXPECT_EQ("SetSignalLatency", at.At(controller, 10, int32_t{64}));
    EXPECT_EQ("SetCycleCount", at.At(controller, 11, &a, &b, int32_t{1}));
    EXPECT_EQ("PostPacket", at.At(controller, 12, int32_t{3}, static_cast<const void*>(&a), uint32_t{4}));
    EXPECT_EQ("GetCurrentMeterValue", at.At(controller, 13, uint32_t{1}, &real));
    EXPECT_EQ("GetMeterPeakValue", at.At(controller, 14, uint32_t{1}, &real));
    EXPECT_EQ("ClearMeterPeakValue", at.At(controller, 15, uint32_t{1}));
    EXPECT_EQ("ClearMeterClipped", at.At(controller, 16, uint32_t{1}));
    EXPECT_EQ("GetMeterCount", at.At(controller, 17, &count));
    EXPECT_EQ("GetMeterClipped", at.At(controller, 18, uint32_t{1}, &flag));
    EXPECT_EQ("GetNextMIDIPacket", at.At(controller, 19, &a, &packet));
    EXPECT_EQ("SendNotification",
              at.At(controller, 20, uint32_t{1}, static_cast<const void*>(&a), uint32_t{4}));
    EXPECT_EQ("GetHybridSignalLatency", at.At(controller, 21, &a));
    EXPECT_EQ("GetCurrentAutomationTimestamp", at.At(controller, 22, &wide));
    EXPECT_EQ("GetHostName", at.At(controller, 23, out));

    IACFUnknown* transport = host.Create<HostTransport>();
    double tempo = 0.0;
    bool yes = false;
    int64_t start = 0, end = 0;
    EXPECT_EQ("GetCurrentTempo", at.At(transport, 3, &tempo));
    EXPECT_EQ("GetCurrentMeter", at.At(transport, 4, &a, &b));
    EXPECT_EQ("IsTransportPlaying", at.At(transport, 5, &yes));
    EXPECT_EQ("GetCurrentTickPosition", at.At(transport, 6, &wide));
    EXPECT_EQ("GetCurrentLoopPosition", at.At(transport, 7, &yes, &start, &end));
    EXPECT_EQ("GetCurrentNativeSampleLocation", at.At(transport, 8, &wide));
    EXPECT_EQ("GetCustomTickPosition", at.At(transport, 9, &wide, int64_t{0}));
    EXPECT_EQ("GetBarBeatPosition", at.At(transport, 10, &a, &b, &wide, int64_t{0}));
    EXPECT_EQ("GetTicksPerQuarter", at.At(transport, 11, &count));
    EXPECT_EQ("GetCurrentTicksPerBeat", at.At(transport, 12, &count));
    EXPECT_EQ("GetTimelineSelectionStartPosition", at.At(transport, 13, &wide));
    EXPECT_EQ("GetTimeCodeInfo", at.At(transport, 14, &a, &b));
    EXPECT_EQ("GetFeetFramesInfo", at.At(transport, 15, &a, &wide));
    EXPECT_EQ("IsMetronomeEnabled", at.At(transport, 16, &a));

    IACFUnknown* automation = host.Create<HostAutomationDelegate>();
    EXPECT_EQ("RegisterParameter", at.At(automation, 3, kText));
    EXPECT_EQ("UnregisterParameter", at.At(automation, 4, kText));
    EXPECT_EQ("PostSetValueRequest", at.At(automation, 5, kText, 0.5));
    EXPECT_EQ("PostCurrentValue", at.At(automation, 6, kText, 0.5));
    EXPECT_EQ("PostTouchRequest", at.At(automation, 7, kText));
    EXPECT_EQ("PostReleaseRequest", at.At(automation, 8, kText));
    EXPECT_EQ("GetTouchState", at.At(automation, 9, kText, &flag));

    IACFUnknown* view = host.NewViewContainer(AAX_eViewContainer_Type_HWND, nullptr);
    const AAX_Point size{1.0f, 2.0f};
    EXPECT_EQ("GetType", at.At<int32_t>(view, 3));
    EXPECT_EQ("GetPtr", at.At<void*>(view, 4));
    EXPECT_EQ("GetModifiers", at.At(view, 5, &count));
    EXPECT_EQ("SetViewSize", at.At(view, 6, &size));
    EXPECT_EQ("HandleParameterMouseDown", at.At(view, 7, kText, uint32_t{0}));
    EXPECT_EQ("HandleParameterMouseDrag", at.At(view, 8, kText, uint32_t{0}));
    EXPECT_EQ("HandleParameterMouseUp", at.At(view, 9, kText, uint32_t{0}));

    // The MIDI node is no component: its one operation is at position 0.
    MidiNode node;
    EXPECT_EQ(&node.GetNodeBuffer()->mBufferSize,
              &CallPosition<AAX_CMidiStream*>(static_cast<AAX_IMIDINode*>(&node), 0)->mBufferSize);
}

namespace
{
// Implementations of the module's two interfaces that only note which operation ran, so that a
// raw position can be matched with the operation the host expects there.
#define NOTE(name)                                                                                           \
    {                                                                                                        \
        mLast = #name;                                                                                       \
        return 0;                                                                                            \
    }

// The operations both interfaces open with.
template <class Interface> class Noting : public Interface
{
public:
    std::string mLast;
    ACFRESULT QueryInterface(const acfIID&, void**) override NOTE(QueryInterface);
    uint32_t AddRef() override NOTE(AddRef);
    uint32_t Release() override NOTE(Release);
    AAX_Result Initialize(IACFUnknown*) override NOTE(Initialize);
    AAX_Result Uninitialize() override NOTE(Uninitialize);
    AAX_Result NotificationReceived(uint32_t, const void*, uint32_t) override NOTE(NotificationReceived);
};

class NotingEffectParameters : public Noting<AAX_IACFEffectParameters_V2>
{
public:
    AAX_Result GetNumberOfParameters(int32_t*) override NOTE(GetNumberOfParameters);
    AAX_Result GetMasterBypassParameter(AAX_IString*) override NOTE(GetMasterBypassParameter);
    AAX_Result GetParameterIsAutomatable(AAX_CParamID, AAX_CBoolean*) override
        NOTE(GetParameterIsAutomatable);
    AAX_Result GetParameterNumberOfSteps(AAX_CParamID, int32_t*) override NOTE(GetParameterNumberOfSteps);
    AAX_Result GetParameterName(AAX_CParamID, AAX_IString*) override NOTE(GetParameterName);
    AAX_Result GetParameterNameOfLength(AAX_CParamID, AAX_IString*, int32_t) override
        NOTE(GetParameterNameOfLength);
    AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID, double*) override
        NOTE(GetParameterDefaultNormalizedValue);
    AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID, double) override
        NOTE(SetParameterDefaultNormalizedValue);
    AAX_Result GetParameterType(AAX_CParamID, int32_t*) override NOTE(GetParameterType);
    AAX_Result GetParameterOrientation(AAX_CParamID, int32_t*) override NOTE(GetParameterOrientation);
    AAX_Result GetParameter(AAX_CParamID, AAX_IParameter**) override NOTE(GetParameter);
    AAX_Result GetParameterIndex(AAX_CParamID, int32_t*) override NOTE(GetParameterIndex);
    AAX_Result GetParameterIDFromIndex(int32_t, AAX_IString*) override NOTE(GetParameterIDFromIndex);
    AAX_Result GetParameterValueInfo(AAX_CParamID, int32_t, int32_t*) override NOTE(GetParameterValueInfo);
    AAX_Result GetParameterValueFromString(AAX_CParamID, double*, const AAX_IString&) override
        NOTE(GetParameterValueFromString);
    AAX_Result GetParameterStringFromValue(AAX_CParamID, double, AAX_IString*, int32_t) override
        NOTE(GetParameterStringFromValue);
    AAX_Result GetParameterValueString(AAX_CParamID, AAX_IString*, int32_t) override
        NOTE(GetParameterValueString);
    AAX_Result GetParameterNormalizedValue(AAX_CParamID, double*) override NOTE(GetParameterNormalizedValue);
    AAX_Result SetParameterNormalizedValue(AAX_CParamID, double) override NOTE(SetParameterNormalizedValue);
    AAX_Result SetParameterNormalizedRelative(AAX_CParamID, double) override
        NOTE(SetParameterNormalizedRelative);
    AAX_Result TouchParameter(AAX_CParamID) override NOTE(TouchParameter);
    AAX_Result ReleaseParameter(AAX_CParamID) override NOTE(ReleaseParameter);
    AAX_Result UpdateParameterTouch(AAX_CParamID, AAX_CBoolean) override NOTE(UpdateParameterTouch);
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID, double, int32_t) override
        NOTE(UpdateParameterNormalizedValue);
    AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID, double) override
        NOTE(UpdateParameterNormalizedRelative);
    AAX_Result GenerateCoefficients() override NOTE(GenerateCoefficients);
    AAX_Result ResetFieldData(int32_t, void*, uint32_t) override NOTE(ResetFieldData);
    AAX_Result GetNumberOfChunks(int32_t*) override NOTE(GetNumberOfChunks);
    AAX_Result GetChunkIDFromIndex(int32_t, AAX_CTypeID*) override NOTE(GetChunkIDFromIndex);
    AAX_Result GetChunkSize(AAX_CTypeID, uint32_t*) override NOTE(GetChunkSize);
    AAX_Result GetChunk(AAX_CTypeID, AAX_SPlugInChunk*) override NOTE(GetChunk);
    AAX_Result SetChunk(AAX_CTypeID, const AAX_SPlugInChunk*) override NOTE(SetChunk);
    AAX_Result CompareActiveChunk(const AAX_SPlugInChunk*, AAX_CBoolean*) override NOTE(CompareActiveChunk);
    AAX_Result GetNumberOfChanges(int32_t*) override NOTE(GetNumberOfChanges);
    AAX_Result TimerWakeup() override NOTE(TimerWakeup);
    AAX_Result GetCurveData(uint32_t, const float*, uint32_t, float*) override NOTE(GetCurveData);
    AAX_Result GetCustomData(uint32_t, uint32_t, void*, uint32_t*) override NOTE(GetCustomData);
    AAX_Result SetCustomData(uint32_t, uint32_t, const void*) override NOTE(SetCustomData);
    AAX_Result DoMIDITransfers() override NOTE(DoMIDITransfers);
    AAX_Result RenderAudio_Hybrid(void*) override NOTE(RenderAudio_Hybrid);
    AAX_Result UpdateMIDINodes(int32_t, AAX_CMidiPacket&) override NOTE(UpdateMIDINodes);
    AAX_Result UpdateControlMIDINodes(uint32_t, AAX_CMidiPacket&) override NOTE(UpdateControlMIDINodes);
};

class NotingEffectGUI : public Noting<AAX_IACFEffectGUI>
{
public:
    AAX_Result SetViewContainer(IACFUnknown*) override NOTE(SetViewContainer);
    AAX_Result GetViewSize(AAX_Point*) override NOTE(GetViewSize);
    AAX_Result Draw(AAX_Rect*) override NOTE(Draw);
    AAX_Result TimerWakeup() override NOTE(TimerWakeup);
    AAX_Result ParameterUpdated(AAX_CParamID) override NOTE(ParameterUpdated);
    AAX_Result GetCustomLabel(int32_t, AAX_IString*) override NOTE(GetCustomLabel);
    AAX_Result SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, int32_t) override
        NOTE(SetControlHighlightInfo);
};
#undef NOTE

// The positions of an interface's table: what both interfaces open with, then rest.
std::vector<std::string> withOpening(std::initializer_list<std::string> rest)
{
    std::vector<std::string> names = {"QueryInterface", "AddRef",       "Release",
                                      "Initialize",     "Uninitialize", "NotificationReceived"};
    names.insert(names.end(), rest);
    return names;
}

// The operations are called without arguments: the noting implementations read none.
template <class Object> std::string OperationAt(Object& object, size_t position)
{
    object.mLast.clear();
    CallPosition<int32_t>(static_cast<void*>(&object), position);
    return object.mLast;
}
} // namespace

TEST(InterfaceLayout, TheDataModelInterfaceHoldsPositionsThreeTo47InTableOrder)
{
    const std::vector<std::string> expected = withOpening({"GetNumberOfParameters",
                                                           "GetMasterBypassParameter",
                                                           "GetParameterIsAutomatable",
                                                           "GetParameterNumberOfSteps",
                                                           "GetParameterName",
                                                           "GetParameterNameOfLength",
                                                           "GetParameterDefaultNormalizedValue",
                                                           "SetParameterDefaultNormalizedValue",
                                                           "GetParameterType",
                                                           "GetParameterOrientation",
                                                           "GetParameter",
                                                           "GetParameterIndex",
                                                           "GetParameterIDFromIndex",
                                                           "GetParameterValueInfo",
                                                           "GetParameterValueFromString",
                                                           "GetParameterStringFromValue",
                                                           "GetParameterValueString",
                                                           "GetParameterNormalizedValue",
                                                           "SetParameterNormalizedValue",
                                                           "SetParameterNormalizedRelative",
                                                           "TouchParameter",
                                                           "ReleaseParameter",
                                                           "UpdateParameterTouch",
                                                           "UpdateParameterNormalizedValue",
                                                           "UpdateParameterNormalizedRelative",
                                                           "GenerateCoefficients",
                                                           "ResetFieldData",
                                                           "GetNumberOfChunks",
                                                           "GetChunkIDFromIndex",
                                                           "GetChunkSize",
                                                           "GetChunk",
                                                           "SetChunk",
                                                           "CompareActiveChunk",
                                                           "GetNumberOfChanges",
                                                           "TimerWakeup",
                                                           "GetCurveData",
                                                           "GetCustomData",
                                                           "SetCustomData",
                                                           "DoMIDITransfers",
                                                           "RenderAudio_Hybrid",
                                                           "UpdateMIDINodes",
                                                           "UpdateControlMIDINodes"});
    ASSERT_EQ(48u, expected.size());
    NotingEffectParameters dataModel;
    for (size_t position = 0; position < expected.size(); ++position)
        EXPECT_EQ(expected[position], OperationAt(dataModel, position)) << "position " << position;
}

TEST(InterfaceLayout, TheGUIInterfaceHoldsPositionsThreeTo12InTableOrder)
{
    const std::vector<std::string> expected =
        withOpening({"SetViewContainer", "GetViewSize", "Draw", "TimerWakeup", "ParameterUpdated",
                     "GetCustomLabel", "SetControlHighlightInfo"});
    NotingEffectGUI gui;
    for (size_t position = 0; position < expected.size(); ++position)
        EXPECT_EQ(expected[position], OperationAt(gui, position)) << "position " << position;
}
