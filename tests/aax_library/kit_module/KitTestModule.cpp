// A small plug-in module for the test host's own tests: the seven entry points, one effect with one
// mono-to-stereo component, a data-model object that halves its input unless bypassed, and a GUI
// object that reads the data model through its controller. Built on the AAX library's component
// base and wrappers, loaded from disk by the test host's module loader.

#include "aax_library/AAX_CHostServices.h"
#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_Properties.h"
#include "aax_library/AAX_StemFormats.h"
#include "aax_library/AAX_VCollection.h"
#include "aax_library/AAX_VController.h"
#include "aax_library/AAX_VTransport.h"
#include "aax_library/AAX_VViewContainer.h"
#include "aax_library/CACFUnknown.h"
#include "aax_library/host/AAX_IACFEffectGUI.h"
#include "aax_library/host/AAX_IACFEffectParameters.h"
#include "aax_library/host/AAX_IMIDINode.h"

#include <cstring>
#include <memory>

#define KIT_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{
// The fields of the component's context, in order.
enum KitField : int32_t
{
    kFieldInputs,
    kFieldOutputs,
    kFieldBlockLength,
    kFieldBypass,
    kFieldMidi,
    kFieldInstance,
};
constexpr AAX_CTypeID kStateChunk = AAX_FourCC('k', 'i', 't', 's');
constexpr const char* kBypassId = "bypass";

#define KIT_DEFAULT(signature)                                                                               \
    AAX_Result signature override                                                                            \
    {                                                                                                        \
        return AAX_SUCCESS;                                                                                  \
    }

class KitDataModel : public AAX_IACFEffectParameters_V2, public CACFUnknown
{
public:
    ACF_DECLARE_STANDARD_UNKNOWN()

    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override
    {
        if (out != nullptr && (iid == IID_IAAXEffectParametersV1 || iid == IID_IAAXEffectParametersV2))
        {
            *out = static_cast<AAX_IACFEffectParameters_V2*>(this);
            static_cast<AAX_IACFEffectParameters_V2*>(this)->AddRef();
            return ACF_OK;
        }
        return CACFUnknown::InternalQueryInterface(iid, out);
    }

    AAX_Result Initialize(IACFUnknown* controller) override
    {
        mController = std::make_unique<AAX_VController>(controller);
        mTransport = std::make_unique<AAX_VTransport>(controller);
        mController->SetSignalLatency(0);
        return AAX_SUCCESS;
    }
    AAX_Result Uninitialize() override
    {
        mController.reset();
        mTransport.reset();
        return AAX_SUCCESS;
    }
    AAX_Result GetNumberOfParameters(int32_t* count) override
    {
        *count = 1;
        return AAX_SUCCESS;
    }
    AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) override
    {
        if (index != 0 || id == nullptr)
            return AAX_ERROR_INVALID_PARAMETER_ID;
        id->Set(kBypassId);
        return AAX_SUCCESS;
    }
    // The bypass travels to the processing side as a packet, as the host delivers them.
    AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) override
    {
        if (id == nullptr || std::strcmp(id, kBypassId) != 0)
            return AAX_ERROR_INVALID_PARAMETER_ID;
        mBypass = value > 0.5 ? 1 : 0;
        return mController != nullptr ? mController->PostPacket(kFieldBypass, &mBypass, sizeof mBypass)
                                      : AAX_ERROR_NULL_OBJECT;
    }
    AAX_Result ResetFieldData(int32_t field, void* data, uint32_t size) override
    {
        if (field == kFieldInstance && size >= sizeof(KitDataModel*))
        {
            KitDataModel* self = this;
            std::memcpy(data, &self, sizeof self);
        }
        return AAX_SUCCESS;
    }
    AAX_Result GetNumberOfChunks(int32_t* count) override
    {
        *count = 1;
        return AAX_SUCCESS;
    }
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) override
    {
        *id = index == 0 ? kStateChunk : 0;
        return index == 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_CHUNK_INDEX;
    }
    AAX_Result GetChunkSize(AAX_CTypeID id, uint32_t* size) override
    {
        if (id != kStateChunk)
            return AAX_ERROR_INVALID_CHUNK_ID;
        *size = sizeof mBypass;
        return AAX_SUCCESS;
    }
    AAX_Result GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) override
    {
        if (id != kStateChunk)
            return AAX_ERROR_INVALID_CHUNK_ID;
        chunk->fSize = sizeof mBypass;
        chunk->fVersion = 3;
        std::strcpy(reinterpret_cast<char*>(chunk->fName), "Kit state");
        std::memcpy(chunk->fData, &mBypass, sizeof mBypass);
        return AAX_SUCCESS;
    }
    AAX_Result SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override
    {
        if (id != kStateChunk || chunk->fSize != sizeof mBypass)
            return AAX_ERROR_INCORRECT_CHUNK_SIZE;
        std::memcpy(&mBypass, chunk->fData, sizeof mBypass);
        return AAX_SUCCESS;
    }

    KIT_DEFAULT(NotificationReceived(uint32_t, const void*, uint32_t))
    KIT_DEFAULT(GetMasterBypassParameter(AAX_IString*))
    KIT_DEFAULT(GetParameterIsAutomatable(AAX_CParamID, AAX_CBoolean*))
    KIT_DEFAULT(GetParameterNumberOfSteps(AAX_CParamID, int32_t*))
    KIT_DEFAULT(GetParameterName(AAX_CParamID, AAX_IString*))
    KIT_DEFAULT(GetParameterNameOfLength(AAX_CParamID, AAX_IString*, int32_t))
    KIT_DEFAULT(GetParameterDefaultNormalizedValue(AAX_CParamID, double*))
    KIT_DEFAULT(SetParameterDefaultNormalizedValue(AAX_CParamID, double))
    KIT_DEFAULT(GetParameterType(AAX_CParamID, int32_t*))
    KIT_DEFAULT(GetParameterOrientation(AAX_CParamID, int32_t*))
    KIT_DEFAULT(GetParameter(AAX_CParamID, AAX_IParameter**))
    KIT_DEFAULT(GetParameterIndex(AAX_CParamID, int32_t*))
    KIT_DEFAULT(GetParameterValueInfo(AAX_CParamID, int32_t, int32_t*))
    KIT_DEFAULT(GetParameterValueFromString(AAX_CParamID, double*, const AAX_IString&))
    KIT_DEFAULT(GetParameterStringFromValue(AAX_CParamID, double, AAX_IString*, int32_t))
    KIT_DEFAULT(GetParameterValueString(AAX_CParamID, AAX_IString*, int32_t))
    KIT_DEFAULT(GetParameterNormalizedValue(AAX_CParamID, double*))
    KIT_DEFAULT(SetParameterNormalizedRelative(AAX_CParamID, double))
    KIT_DEFAULT(TouchParameter(AAX_CParamID))
    KIT_DEFAULT(ReleaseParameter(AAX_CParamID))
    KIT_DEFAULT(UpdateParameterTouch(AAX_CParamID, AAX_CBoolean))
    KIT_DEFAULT(UpdateParameterNormalizedValue(AAX_CParamID, double, int32_t))
    KIT_DEFAULT(UpdateParameterNormalizedRelative(AAX_CParamID, double))
    KIT_DEFAULT(GenerateCoefficients())
    KIT_DEFAULT(CompareActiveChunk(const AAX_SPlugInChunk*, AAX_CBoolean*))
    KIT_DEFAULT(GetNumberOfChanges(int32_t*))
    KIT_DEFAULT(TimerWakeup())
    KIT_DEFAULT(GetCurveData(uint32_t, const float*, uint32_t, float*))
    KIT_DEFAULT(GetCustomData(uint32_t, uint32_t, void*, uint32_t*))
    KIT_DEFAULT(SetCustomData(uint32_t, uint32_t, const void*))
    KIT_DEFAULT(DoMIDITransfers())
    KIT_DEFAULT(RenderAudio_Hybrid(void*))
    KIT_DEFAULT(UpdateMIDINodes(int32_t, AAX_CMidiPacket&))
    KIT_DEFAULT(UpdateControlMIDINodes(uint32_t, AAX_CMidiPacket&))

    // [audio thread] halves mono input into both outputs; a bypass copies instead. Notes the
    // block's MIDI packet count in the second output's first sample so the host can see it.
    void Render(float* const* inputs, float* const* outputs, int32_t length, int32_t bypass,
                AAX_IMIDINode* midi)
    {
        const float gain = bypass != 0 ? 1.0f : 0.5f;
        for (int32_t i = 0; i < length; ++i)
        {
            outputs[0][i] = inputs[0][i] * gain;
            outputs[1][i] = inputs[0][i] * gain;
        }
        if (midi != nullptr && length > 0)
            outputs[1][0] = static_cast<float>(midi->GetNodeBuffer()->mBufferSize);
    }

private:
    std::unique_ptr<AAX_VController> mController;
    std::unique_ptr<AAX_VTransport> mTransport;
    int32_t mBypass = 0;
};

class KitGui : public AAX_IACFEffectGUI, public CACFUnknown
{
public:
    ~KitGui() override { Uninitialize(); }
    ACF_DECLARE_STANDARD_UNKNOWN()

    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override
    {
        if (out != nullptr && iid == IID_IAAXEffectGUIV1)
        {
            *out = static_cast<AAX_IACFEffectGUI*>(this);
            static_cast<AAX_IACFEffectGUI*>(this)->AddRef();
            return ACF_OK;
        }
        return CACFUnknown::InternalQueryInterface(iid, out);
    }

    AAX_Result Initialize(IACFUnknown* controller) override
    {
        if (controller == nullptr)
            return AAX_ERROR_NOT_INITIALIZED;
        void* dataModel = nullptr;
        controller->QueryInterface(IID_IAAXEffectParametersV1, &dataModel);
        mDataModel = static_cast<AAX_IACFEffectParameters*>(dataModel);
        return AAX_SUCCESS;
    }
    AAX_Result Uninitialize() override
    {
        mView.reset();
        if (mDataModel != nullptr)
            mDataModel->Release();
        mDataModel = nullptr;
        return AAX_SUCCESS;
    }
    AAX_Result SetViewContainer(IACFUnknown* container) override
    {
        mView.reset();
        if (container != nullptr)
        {
            mView = std::make_unique<AAX_VViewContainer>(container);
            mView->SetViewSize(AAX_Point{300.0f, 500.0f});
        }
        return AAX_SUCCESS;
    }
    AAX_Result GetViewSize(AAX_Point* size) override
    {
        *size = AAX_Point{300.0f, 500.0f};
        return AAX_SUCCESS;
    }
    // Each tick reports the data model's parameter count as the view's width.
    AAX_Result TimerWakeup() override
    {
        int32_t count = 0;
        if (mDataModel != nullptr && mView != nullptr &&
            mDataModel->GetNumberOfParameters(&count) == AAX_SUCCESS)
            mView->SetViewSize(AAX_Point{1.0f, static_cast<float>(count)});
        return AAX_SUCCESS;
    }
    KIT_DEFAULT(NotificationReceived(uint32_t, const void*, uint32_t))
    KIT_DEFAULT(Draw(AAX_Rect*))
    KIT_DEFAULT(ParameterUpdated(AAX_CParamID))
    KIT_DEFAULT(GetCustomLabel(int32_t, AAX_IString*))
    KIT_DEFAULT(SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, int32_t))

private:
    AAX_IACFEffectParameters* mDataModel = nullptr; // one counted reference
    std::unique_ptr<AAX_VViewContainer> mView;
};

void* CreateDataModel()
{
    return static_cast<AAX_IACFEffectParameters_V2*>(new KitDataModel);
}
void* CreateGui()
{
    return static_cast<AAX_IACFEffectGUI*>(new KitGui);
}

void ProcessAllInstances(void* const instancesBegin[], const void* instancesEnd)
{
    for (void* const* instance = instancesBegin; instance != instancesEnd; ++instance)
    {
        void* const* fields = static_cast<void* const*>(*instance);
        KitDataModel* model = nullptr;
        std::memcpy(&model, fields[kFieldInstance], sizeof model);
        if (model == nullptr)
            continue;
        model->Render(static_cast<float* const*>(fields[kFieldInputs]),
                      static_cast<float* const*>(fields[kFieldOutputs]),
                      *static_cast<const int32_t*>(fields[kFieldBlockLength]),
                      *static_cast<const int32_t*>(fields[kFieldBypass]),
                      static_cast<AAX_IMIDINode*>(fields[kFieldMidi]));
    }
}

AAX_Result Describe(AAX_ICollection& collection)
{
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    effect->AddName("Kit effect");
    effect->AddCategory(16);
    effect->AddProcPtr(reinterpret_cast<void*>(&CreateGui), kAAX_ProcPtrID_Create_EffectGUI);
    effect->AddProcPtr(reinterpret_cast<void*>(&CreateDataModel), kAAX_ProcPtrID_Create_EffectParameters);
    AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
    component->AddAudioIn(kFieldInputs);
    component->AddAudioOut(kFieldOutputs);
    component->AddAudioBufferLength(kFieldBlockLength);
    component->AddDataInPort(kFieldBypass, sizeof(int32_t), AAX_eDataInPortType_Buffered);
    component->AddMIDINode(kFieldMidi, AAX_eMIDINodeType_LocalInput, "Kit", 0xFFFF);
    component->AddPrivateData(kFieldInstance, sizeof(void*), AAX_ePrivateDataOptions_DefaultOptions);
    AAX_IPropertyMap* properties = component->NewPropertyMap();
    properties->AddProperty(AAX_eProperty_InputStemFormat, AAX_eStemFormat_Mono);
    properties->AddProperty(AAX_eProperty_OutputStemFormat, AAX_eStemFormat_Stereo);
    component->AddProcessProc_Native(&ProcessAllInstances, properties, nullptr, nullptr, nullptr);
    effect->AddComponent(component);
    collection.AddEffect("com.example.kit", effect);
    collection.SetManufacturerName("Kit makers");
    collection.AddPackageName("Kit");
    collection.SetPackageVersion(7);
    return AAX_SUCCESS;
}
#undef KIT_DEFAULT
} // namespace

KIT_EXPORT ACFRESULT ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out)
{
    try
    {
        AAX_VCollection collection(host);
        if (AAX_Result result = Describe(collection))
            return result;
        if (out == nullptr || collection.GetIUnknown() == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        *out = nullptr;
        if (collection.GetIUnknown()->QueryInterface(IID_IACFPluginDefinition,
                                                     reinterpret_cast<void**>(out)) != ACF_OK)
            return AAX_ERROR_NULL_OBJECT;
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

KIT_EXPORT ACFRESULT ACFRegisterComponent(IACFUnknown*, uint32_t, IACFUnknown** out)
{
    if (out != nullptr)
        *out = nullptr;
    return ACF_OK;
}

KIT_EXPORT ACFRESULT ACFGetClassFactory(IACFUnknown*, const acfCLSID&, const acfIID&, void** out)
{
    if (out != nullptr)
        *out = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

KIT_EXPORT ACFRESULT ACFCanUnloadNow(IACFUnknown*)
{
    return static_cast<ACFRESULT>(CACFUnknown::GetActiveObjectCount());
}

KIT_EXPORT ACFRESULT ACFStartup(IACFUnknown* host)
{
    try
    {
        AAX_CHostServices::Set(host);
        AAX_CHostServices::Trace(AAX_eTracePriorityHost_Normal, "kit module started");
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

KIT_EXPORT ACFRESULT ACFShutdown(IACFUnknown*)
{
    AAX_CHostServices::Set(nullptr);
    return ACF_OK;
}

KIT_EXPORT ACFRESULT ACFGetSDKVersion(uint64_t* out)
{
    if (out == nullptr)
        return ACF_E_POINTER;
    *out = 0x201007756BFull;
    return ACF_OK;
}
