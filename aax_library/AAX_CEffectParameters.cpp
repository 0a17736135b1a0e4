#include "aax_library/AAX_CEffectParameters.h"

#include "aax_library/AAX_CString.h"
#include "aax_library/AAX_GuardHostCall.h"
#include "aax_library/AAX_IParameter.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
// The host shows at most this many bytes of one name line.
constexpr size_t kMaxNameLineBytes = 255;
constexpr char kNameLineSeparator = '\n';
constexpr int32_t kNumberOfDefaultChunks = 1;

// Clamps to [0, 1]; NaN becomes 0 so that nothing unordered reaches a parameter.
double ClampNormalized(double value)
{
    if (!(value > 0.0))
        return 0.0;
    return value > 1.0 ? 1.0 : value;
}

// [host thread] write with the parameter, guarded like any host call, answering success; without a
// parameter, text becomes empty and missing is answered.
template <typename Write>
AAX_Result WriteParameterText(const AAX_IParameter* parameter, AAX_IString& text, AAX_Result missing,
                              Write&& write)
{
    return GuardHostCall(
        [&]
        {
            if (parameter == nullptr)
            {
                text.Set("");
                return missing;
            }
            write(*parameter);
            return AAX_SUCCESS;
        });
}

// [host thread] body's result, guarded like any host call, for the default chunk; any other chunk id
// or a null chunk is answered with its error.
template <typename Chunk, typename Body>
AAX_Result WithDefaultChunk(AAX_CTypeID id, Chunk* chunk, Body&& body)
{
    if (id != cDefaultChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(std::forward<Body>(body));
}

// A name may hold several variants, one per line ("Gain\nGn\nG"): the longest line that fits length
// is written; when none fits, the start of the text. An empty name leaves out as it was.
void WriteNameOfLength(const AAX_CString& shortened, int32_t length, AAX_IString& out)
{
    const std::string text(shortened.Get(), std::min<size_t>(shortened.Length(), kMaxNameLineBytes));

    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find(kNameLineSeparator, start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            lines.emplace_back(text, start, end - start);
        start = end + 1;
    }

    size_t best = 0;
    for (const std::string& line : lines)
    {
        if (line.size() > best && static_cast<int64_t>(line.size()) <= length)
        {
            out.Set(line.c_str());
            best = line.size();
        }
    }
    if (best > 0 || lines.empty())
        return;

    if (length <= 0)
        out.Set("");
    else
        shortened.SubString(0, static_cast<uint32_t>(length), &out);
}

} // namespace

template <typename Body> AAX_Result AAX_CEffectParameters::WithParameter(AAX_CParamID id, Body&& body)
{
    AAX_IParameter* const parameter = mParameterManager.GetParameterByID(id);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return GuardHostCall([&] { return body(*parameter); });
}

template <typename Value, typename Read>
AAX_Result AAX_CEffectParameters::ReadParameter(AAX_CParamID id, Value* out, Read&& read)
{
    return WithParameter(id,
                         [&](const AAX_IParameter& parameter) -> AAX_Result
                         {
                             if (out == nullptr)
                                 return AAX_ERROR_NULL_OBJECT;
                             *out = read(parameter);
                             return AAX_SUCCESS;
                         });
}

template <typename Change> AAX_Result AAX_CEffectParameters::ChangeParameter(AAX_CParamID id, Change&& change)
{
    return WithParameter(id,
                         [&](AAX_IParameter& parameter)
                         {
                             change(parameter);
                             return AAX_SUCCESS;
                         });
}

template <typename Apply>
AAX_Result AAX_CEffectParameters::WithRelativeValue(AAX_CParamID id, double delta, Apply&& apply)
{
    double value = 0.0;
    const AAX_Result result = GetParameterNormalizedValue(id, &value);
    if (result != AAX_SUCCESS)
        return result;
    return apply(ClampNormalized(value + delta));
}

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // The parameters unregister from the automation delegate as they go, so they must go first.
    mParameterManager.RemoveAllParameters();
    ReleaseHostWrappers();
}

void AAX_CEffectParameters::ReleaseHostWrappers()
{
    // Nothing may keep a wrapper that is about to be deleted.
    mParameterManager.Initialize(nullptr);
    mPacketDispatcher.Initialize(nullptr, this);
    mController.reset();
    mAutomationDelegate.reset();
    mTransport.reset();
}

AAX_Result AAX_CEffectParameters::Initialize(IACFUnknown* controller)
{
    return GuardHostCall(
        [&]() -> AAX_Result
        {
            // A second initialisation starts over rather than leave parameters on a dead delegate.
            if (mController)
                Uninitialize();

            mController = std::make_unique<AAX_VController>(controller);
            mAutomationDelegate = std::make_unique<AAX_VAutomationDelegate>(controller);
            mTransport = std::make_unique<AAX_VTransport>(controller);
            mParameterManager.Initialize(mAutomationDelegate.get());
            mPacketDispatcher.Initialize(mController.get(), this);

            const AAX_Result initResult = EffectInit();
            if (initResult != AAX_SUCCESS)
                return initResult;

            // The master bypass belongs to the session's routing, not to the plug-in's sound.
            AAX_CString bypassID;
            GetMasterBypassParameter(&bypassID);
            FilterParameterIDOnSave(bypassID.Get());

            const int32_t count = ParameterCount();
            if (count > 0)
                mNumChunkedParameters = count - mDefaultChunk.FilteredCount();
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
    mParameterManager.RemoveAllParameters();
    ReleaseHostWrappers();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::NotificationReceived(uint32_t type, const void* data, uint32_t size)
{
    if (type != AAX_eNotificationEvent_ASPreviewState || data == nullptr || size < sizeof(int32_t))
        return AAX_SUCCESS;
    return GuardHostCall(
        [&]
        {
            if (AAX_IParameter* const preview = mParameterManager.GetParameterByID(cPreviewParameterID))
            {
                int32_t state = 0;
                std::memcpy(&state, data, sizeof state);
                preview->SetValueWithBool(state != 0);
            }
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* count)
{
    if (count == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *count = mParameterManager.NumParameters();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_IString* id)
{
    if (id == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            id->Set(mParameterManager.GetParameterByID(cDefaultMasterBypassID) != nullptr
                        ? cDefaultMasterBypassID
                        : "");
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* out)
{
    if (out == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *out = 0;
    return WithParameter(id,
                         [&](const AAX_IParameter& parameter) -> AAX_Result
                         {
                             *out = parameter.Automatable() ? 1 : 0;
                             return AAX_SUCCESS;
                         });
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID id, int32_t* out)
{
    return WithParameter(id,
                         [&](const AAX_IParameter& parameter) -> AAX_Result
                         {
                             if (out == nullptr)
                                 return AAX_ERROR_NULL_OBJECT;
                             const uint32_t steps = parameter.GetNumberOfSteps();
                             if (steps > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
                                 return AAX_ERROR_SIGNED_INT_OVERFLOW;
                             *out = static_cast<int32_t>(steps);
                             return AAX_SUCCESS;
                         });
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID id, AAX_IString* name)
{
    if (name == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return WriteParameterText(mParameterManager.GetParameterByID(id), *name, AAX_SUCCESS,
                              [&](const AAX_IParameter& parameter) { name->Set(parameter.Name().Get()); });
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length)
{
    if (name == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    return WriteParameterText(mParameterManager.GetParameterByID(id), *name, AAX_SUCCESS,
                              [&](const AAX_IParameter& parameter)
                              { WriteNameOfLength(parameter.ShortenedName(length), length, *name); });
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID id, double* out)
{
    return ReadParameter(
        id, out, [](const AAX_IParameter& parameter) { return parameter.GetNormalizedDefaultValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID id, double value)
{
    return ChangeParameter(id,
                           [&](AAX_IParameter& parameter) { parameter.SetNormalizedDefaultValue(value); });
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID id, int32_t* out)
{
    return ReadParameter(id, out, [](const AAX_IParameter& parameter) { return parameter.GetType(); });
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation(AAX_CParamID id, int32_t* out)
{
    return ReadParameter(id, out, [](const AAX_IParameter& parameter) { return parameter.GetOrientation(); });
}

AAX_Result AAX_CEffectParameters::GetParameter(AAX_CParamID id, AAX_IParameter** out)
{
    if (out == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *out = mParameterManager.GetParameterByID(id);
    return *out != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex(AAX_CParamID id, int32_t* out)
{
    if (out == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *out = mParameterManager.GetParameterIndex(id);
    return *out != -1 ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t index, AAX_IString* id)
{
    if (id == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return WriteParameterText(mParameterManager.GetParameter(index), *id, AAX_ERROR_INVALID_PARAMETER_ID,
                              [&](const AAX_IParameter& parameter) { id->Set(parameter.Identifier()); });
}

// No parameter carries extra value information; the host then uses the value and its text alone.
AAX_Result AAX_CEffectParameters::GetParameterValueInfo(AAX_CParamID /*id*/, int32_t /*selector*/,
                                                        int32_t* out)
{
    if (out != nullptr)
        *out = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(AAX_CParamID id, double* out,
                                                              const AAX_IString& text)
{
    return WithParameter(id,
                         [&](const AAX_IParameter& parameter) -> AAX_Result
                         {
                             if (out == nullptr)
                                 return AAX_ERROR_NULL_OBJECT;
                             double value = 0.0;
                             if (!parameter.GetNormalizedValueFromString(AAX_CString(text.Get()), &value))
                                 return AAX_ERROR_INVALID_STRING_CONVERSION;
                             *out = value;
                             return AAX_SUCCESS;
                         });
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(AAX_CParamID id, double value,
                                                              AAX_IString* text, int32_t maxLength)
{
    return WithParameter(id,
                         [&](const AAX_IParameter& parameter) -> AAX_Result
                         {
                             if (text == nullptr)
                                 return AAX_ERROR_NULL_OBJECT;
                             AAX_CString converted;
                             if (!parameter.GetStringFromNormalizedValue(value, maxLength, &converted))
                                 return AAX_ERROR_INVALID_STRING_CONVERSION;
                             text->Set(converted.Get());
                             return AAX_SUCCESS;
                         });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID id, AAX_IString* text,
                                                          int32_t maxLength)
{
    return WithParameter(id,
                         [&](const AAX_IParameter& parameter) -> AAX_Result
                         {
                             if (text == nullptr)
                                 return AAX_ERROR_NULL_OBJECT;
                             AAX_CString current;
                             parameter.GetValueString(maxLength, &current);
                             text->Set(current.Get());
                             return AAX_SUCCESS;
                         });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID id, double* out)
{
    return ReadParameter(id, out,
                         [](const AAX_IParameter& parameter) { return parameter.GetNormalizedValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID id, double value)
{
    return ChangeParameter(id, [&](AAX_IParameter& parameter) { parameter.SetNormalizedValue(value); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative(AAX_CParamID id, double delta)
{
    return WithRelativeValue(id, delta, [&](double value) { return SetParameterNormalizedValue(id, value); });
}

AAX_Result AAX_CEffectParameters::TouchParameter(AAX_CParamID id)
{
    return ChangeParameter(id, [&](AAX_IParameter& parameter) { parameter.Touch(); });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID id)
{
    return ChangeParameter(id, [&](AAX_IParameter& parameter) { parameter.Release(); });
}

// The host only reports its own touch state here; nothing in the plug-in follows it.
AAX_Result AAX_CEffectParameters::UpdateParameterTouch(AAX_CParamID /*id*/, AAX_CBoolean /*touched*/)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID id, double value,
                                                                 int32_t /*source*/)
{
    return WithParameter(id,
                         [&](AAX_IParameter& parameter) -> AAX_Result
                         {
                             parameter.UpdateNormalizedValue(value);
                             const AAX_Result result = mPacketDispatcher.SetDirty(id);
                             // The host compares change counts, so the count wraps to 0 rather than going
                             // negative.
                             mNumPlugInChanges = mNumPlugInChanges == std::numeric_limits<int32_t>::max()
                                                     ? 0
                                                     : mNumPlugInChanges + 1;
                             return result;
                         });
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative(AAX_CParamID id, double delta)
{
    return WithRelativeValue(
        id, delta,
        [&](double value)
        { return UpdateParameterNormalizedValue(id, value, AAX_eUpdateSource_Unspecified); });
}

AAX_Result AAX_CEffectParameters::GenerateCoefficients()
{
    return GuardHostCall([&] { return mPacketDispatcher.Dispatch(); });
}

// Zeroed field data is the safe start for any context field; a derived class with a private field
// that needs more (such as its own address) overrides this.
AAX_Result AAX_CEffectParameters::ResetFieldData(int32_t /*field*/, void* data, uint32_t size)
{
    if (data != nullptr && size > 0)
        std::memset(data, 0, size);
    return AAX_SUCCESS;
}

// The base saves one chunk, the default chunk; a derived class that saves more overrides this.
AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* count)
{
    if (count == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *count = kNumberOfDefaultChunks;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id)
{
    if (id == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (index != 0)
    {
        *id = 0;
        return AAX_ERROR_INVALID_CHUNK_INDEX;
    }
    *id = cDefaultChunkID;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID id, uint32_t* size)
{
    if (size == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (id != cDefaultChunkID)
    {
        *size = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    return GuardHostCall([&] { return mDefaultChunk.Size(mParameterManager, ParameterCount(), size); });
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk)
{
    return WithDefaultChunk(id, chunk,
                            [&] { return mDefaultChunk.Write(mParameterManager, ParameterCount(), chunk); });
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk)
{
    return WithDefaultChunk(id, chunk,
                            [&]
                            {
                                mDefaultChunk.Restore(mParameterManager, ParameterCount(), chunk);
                                return AAX_SUCCESS;
                            });
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal)
{
    if (chunk == nullptr || equal == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    // Chunks of a derived class are its own business: reported equal unless it overrides this.
    if (chunk->fChunkID != cDefaultChunkID)
    {
        *equal = 1;
        return AAX_SUCCESS;
    }
    *equal = 0;
    return GuardHostCall(
        [&]
        {
            if (mDefaultChunk.Matches(mParameterManager, ParameterCount(), chunk))
                *equal = 1;
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges(int32_t* count)
{
    if (count == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (mNumPlugInChanges >= 0)
        *count = mNumPlugInChanges;
    return AAX_SUCCESS;
}

// Nothing in the base works on the host's idle timer.
AAX_Result AAX_CEffectParameters::TimerWakeup()
{
    return AAX_SUCCESS;
}

// No parameter draws a curve (an equaliser's response, say); the host then draws none.
AAX_Result AAX_CEffectParameters::GetCurveData(uint32_t /*type*/, const float* /*values*/, uint32_t /*count*/,
                                               float* /*out*/)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

// No custom data blocks: every block the host asks for is empty.
AAX_Result AAX_CEffectParameters::GetCustomData(uint32_t /*block*/, uint32_t /*size*/, void* /*data*/,
                                                uint32_t* written)
{
    if (written != nullptr)
        *written = 0;
    return AAX_SUCCESS;
}

// No custom data blocks: a block the host writes is accepted and dropped.
AAX_Result AAX_CEffectParameters::SetCustomData(uint32_t /*block*/, uint32_t /*size*/, const void* /*data*/)
{
    return AAX_SUCCESS;
}

// MIDI reaches the plug-in through its processing context, not through these transfers.
AAX_Result AAX_CEffectParameters::DoMIDITransfers()
{
    return AAX_SUCCESS;
}

// The plug-in declares no hybrid processing, so the host never has a reason to call this.
AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid(void* /*info*/)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

// The plug-in declares no MIDI node that the data model answers; its MIDI input is read while
// processing.
AAX_Result AAX_CEffectParameters::UpdateMIDINodes(int32_t /*field*/, AAX_CMidiPacket& /*packet*/)
{
    return AAX_SUCCESS;
}

// The plug-in declares no control MIDI node.
AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes(uint32_t /*node*/, AAX_CMidiPacket& /*packet*/)
{
    return AAX_SUCCESS;
}

// A plug-in without parameters of its own has nothing to add.
AAX_Result AAX_CEffectParameters::EffectInit()
{
    return AAX_SUCCESS;
}

void AAX_CEffectParameters::FilterParameterIDOnSave(AAX_CParamID identifier)
{
    mDefaultChunk.Filter(identifier);
}

void AAX_CEffectParameters::BuildChunkData()
{
    mDefaultChunk.Build(mParameterManager, ParameterCount());
}

int32_t AAX_CEffectParameters::ParameterCount()
{
    int32_t count = 0;
    GetNumberOfParameters(&count);
    return count;
}

AAX_IController* AAX_CEffectParameters::Controller()
{
    return mController.get();
}

AAX_ITransport* AAX_CEffectParameters::Transport()
{
    return mTransport.get();
}

AAX_IAutomationDelegate* AAX_CEffectParameters::AutomationDelegate()
{
    return mAutomationDelegate.get();
}
