#include "aax_adapter/JuceAAX_Processor.h"

#include "aax_adapter/AAX_CLinearTaperNoRounding.h"
#include "aax_adapter/AAX_CVSTDisplayDelegate.h"
#include "aax_adapter/HostTransportPosition.h"
#include "aax_adapter/StemFormats.h"
#include "aax_library/AAX_CBinary2TaperDelegate.h"
#include "aax_library/AAX_CBinaryDisplayDelegate.h"
#include "aax_library/AAX_CBinaryTaperDelegate.h"
#include "aax_library/AAX_CParameter.h"
#include "aax_library/AAX_CUnitDisplayDelegateDecorator.h"
#include "aax_library/AAX_GuardHostCall.h"
#include "aax_library/AAX_IParameter.h"
#include "aax_library/host/AAX_IMIDINode.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cfloat>
#include <cstring>
#include <limits>
#include <type_traits>

namespace AAXClasses
{

namespace
{

constexpr const char* kMasterBypassName = "Master Bypass";
// Shorter forms of the bypass name, longest first, with the length each needs.
struct ShortName
{
    int32_t minimumLength;
    const char* text;
};
constexpr ShortName kMasterBypassShortNames[] = {{13, "Master Bypass"}, {8, "Mast Byp"}, {6, "MstByp"}};
constexpr const char* kMasterBypassShortestName = "MByp";
constexpr const char* kBypassOffText = "bypass";
constexpr const char* kBypassOnText = "on";

// A published name keeps at most this many characters; the shortened name this many.
constexpr int kParameterNameLength = 31;
constexpr int kParameterShortNameLength = 4;
constexpr uint32_t kTwoStateSteps = 2;
constexpr uint32_t kContinuousSteps = 100;
// What the processor answers for a switch; the host shows it with the texts at 0.00 and 0.99 (the
// text at 1.00 can belong to an end position the switch never shows).
constexpr int kTwoStateStepCount = 2;
constexpr int kTwoStateOffEntry = 0;
constexpr int kTwoStateOnEntry = 99;
// The two-state taper's threshold: normalized values above it are on.
constexpr float kTwoStateOnThreshold = 0.5f;

constexpr int32_t kInitialBlockSize = 1024;
// MIDI bytes the block's buffer holds before it has to grow: a few thousand short events, so that
// ordinary MIDI never allocates on the audio path.
constexpr size_t kIncomingMidiReserveBytes = 64 * 1024;
// Each private-data slot of field 5 holds one instance pointer.
constexpr uint32_t kPrivateDataSlotSize = sizeof(JuceAAX_Processor*);
static_assert(kPrivateDataSlotSize == 8, "the description declares 8-byte private data");
constexpr size_t kMidiPacketDataBytes = sizeof(AAX_CMidiPacket::mData);

bool isMasterBypass(AAX_CParamID id)
{
    return id != nullptr && std::strcmp(id, cDefaultMasterBypassID) == 0;
}

// The leading decimal number of an identifier by atoi's rules (blanks and a sign accepted, reading
// stops at the first non-digit, no digits give 0), without atoi's undefined overflow: the value is
// held at one past the largest index.
int64_t leadingDecimal(const char* text)
{
    constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    int64_t value = 0;
    while (*text >= '0' && *text <= '9')
    {
        value = std::min<int64_t>(value * 10 + (*text - '0'), kLimit);
        ++text;
    }
    return negative ? -value : value;
}

// Parameter indices are written as plain decimal text; a buffer on the stack, because changes the
// effect reports may come on its audio thread.
struct IndexText
{
    explicit IndexText(int index)
    {
        char digits[kCapacity];
        int count = 0;
        unsigned value = static_cast<unsigned>(std::max(index, 0));
        do
        {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0 && count < kCapacity - 1);
        for (int i = 0; i < count; ++i)
            text[i] = digits[count - 1 - i];
        text[count] = '\0';
    }
    static constexpr int kCapacity = 12;
    char text[kCapacity] = {};
};

// Normalized values from the host reach the effect only inside 0 .. 1: effects commonly turn them
// into table positions. NaN is never forwarded.
bool toEffectValue(double value, float* effectValue)
{
    if (std::isnan(value))
        return false;
    *effectValue = static_cast<float>(std::clamp(value, 0.0, 1.0));
    return true;
}

// A double narrowed to float, held at the largest finite float of its sign beyond float's range
// (where a plain conversion would be undefined); NaN stays NaN.
float narrowToFloatClamped(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

// The index-based parameter operations are deprecated in JUCE 7 but are the ones that reach the
// effect's parameters: the processor has no parameter objects.
juce::String processorParameterName(QuennetAudioProcessor& processor, int index, int maximumLength)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return processor.getParameterName(index, maximumLength);
#pragma GCC diagnostic pop
}

// The effect's value as a published continuous parameter's starting value: inside 0 .. 1, and NaN
// (which no taper or saved session can carry) as 0.
float continuousStartingValue(float effectValue)
{
    if (std::isnan(effectValue))
        return 0.0f;
    return std::clamp(effectValue, 0.0f, 1.0f);
}

// A switch is on where the two-state taper would put it: strictly above one half.
bool twoStateStartsOn(float effectValue)
{
    return effectValue > kTwoStateOnThreshold;
}

} // namespace

//==============================================================================
JuceAAX_Processor::JuceAAX_Processor()
{
    // The JUCE processor reads the wrapper type from this thread-local marker in its constructor.
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_AAX);
    try
    {
        processor = std::make_unique<QuennetAudioProcessor>();
    }
    catch (...)
    {
        juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
        throw;
    }
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);

    processor->setPlayHead(this);
    processor->addListener(this);
    stateChunkIndex = 1;
    currentBlockSize = kInitialBlockSize;
    incomingMidi.ensureSize(kIncomingMidiReserveBytes);
}

JuceAAX_Processor::~JuceAAX_Processor()
{
    // The processor may still report from its timer while it goes; nothing may reach this object
    // once its own members are being destroyed.
    closeHostSide();
    // The continuous parameters' display delegates read the processor's text rows, so the
    // parameters go before the processor does.
    mParameterManager.RemoveAllParameters();
    // The processor goes here, while this object is whole: its destruction first waits for a
    // refresh that may still be notifying, which then finds the gates closed. Removing this
    // listener instead would race with that refresh walking the processor's listener list.
    processor->setPlayHead(nullptr);
    processor.reset();
}

void JuceAAX_Processor::closeHostSide()
{
    notificationGate.closeAndWait();
    transportGate.closeAndWait();
}

AAX_Result JuceAAX_Processor::Initialize(IACFUnknown* controller)
{
    // A second initialisation replaces the wrappers: nothing may be using the old ones.
    closeHostSide();
    const AAX_Result result = AAX_CEffectParameters::Initialize(controller);
    if (result == AAX_SUCCESS)
    {
        transportGate.open();
        notificationGate.open();
    }
    return result;
}

AAX_Result JuceAAX_Processor::Uninitialize()
{
    closeHostSide();
    return AAX_CEffectParameters::Uninitialize();
}

void* JuceAAX_Processor::Create()
{
    try
    {
        AAX_IACFEffectParameters_V2* primary = new JuceAAX_Processor();
        return primary;
    }
    catch (...)
    {
        return nullptr;
    }
}

//==============================================================================
AAX_Result JuceAAX_Processor::EffectInit()
{
    if (AAX_IController* controller = Controller())
        controller->GetSampleRate(&hostSampleRate);
    prepareProcessor();
    publishBypassParameter();
    publishProcessorParameters();
    return AAX_SUCCESS;
}

void JuceAAX_Processor::prepareProcessor()
{
    AAX_IController* controller = Controller();
    AAX_EStemFormat inputFormat = AAX_eStemFormat_None;
    AAX_EStemFormat outputFormat = AAX_eStemFormat_None;
    if (controller != nullptr)
    {
        controller->GetInputStemFormat(&inputFormat);
        controller->GetOutputStemFormat(&outputFormat);
    }
    const int32_t inputs = channelCountForStemFormat(inputFormat);
    const int32_t outputs = channelCountForStemFormat(outputFormat);

    // JUCE 7 derives the processor's speaker arrangements from its bus layouts, which the play
    // configuration below sets to the canonical layout of each channel count.
    processor->setPlayConfigDetails(inputs, outputs, static_cast<double>(hostSampleRate), currentBlockSize);
    processor->prepareToPlay(static_cast<double>(hostSampleRate), currentBlockSize);

    // The wide-input path's channel list is sized here, off the audio thread.
    channelPointers.reserve(static_cast<size_t>(std::max(inputs, outputs)) + 1);

    if (controller != nullptr)
        controller->SetSignalLatency(processor->getLatencySamples());
}

void JuceAAX_Processor::publishBypassParameter()
{
    auto bypass = std::make_unique<AAX_CParameter<bool>>(
        cDefaultMasterBypassID, AAX_CString(kMasterBypassName), false, AAX_CBinaryTaperDelegate<bool>(),
        AAX_CBinaryDisplayDelegate<bool>(kBypassOffText, kBypassOnText), true);
    bypass->SetNumberOfSteps(kTwoStateSteps);
    bypass->SetType(AAX_eParameterType_Discrete);
    if (mParameterManager.AddParameter(bypass.get()))
        bypass.release();
    // The bypass reaches the processing callback only as this packet in its context.
    mPacketDispatcher.RegisterPacket(cDefaultMasterBypassID, kAlgorithmFieldBypass);
}

void JuceAAX_Processor::publishProcessorParameters()
{
    publishedProcessorParameters = 0;
    const int count = processor->getNumParameters();
    parameterDefaults.clear();
    parameterDefaults.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int index = 0; index < count; ++index)
    {
        // Probing the effect's texts fills the row the display delegates read, so it comes first.
        const int steps = processor->getParameterNumSteps(index);

        // The processor clears the whole text buffer it is given, so it gets a full one.
        char label[QuennetAudioProcessor::kEffectTextSize];
        processor->getEffectParameterLabel(index, label);

        const IndexText identifier(index);
        const AAX_CString name(processorParameterName(*processor, index, kParameterNameLength).toRawUTF8());
        const AAX_CString shortName(
            processorParameterName(*processor, index, kParameterShortNameLength).toRawUTF8());
        const bool automatable = processor->isParameterAutomatable(index);
        // The processor keeps no default of its own (it would answer 0 for everything), so each
        // published parameter starts, and resets, where the effect actually is: otherwise the host
        // shows a text the effect is not at, and the controls chunk saves (and later restores into
        // the effect) values nobody chose. Read after the text probe, which puts the effect's value
        // back.
        const float effectValue = processor->getEffectParameter(index);

        std::unique_ptr<AAX_IParameter> parameter;
        if (steps == kTwoStateStepCount)
        {
            const bool defaultOn = twoStateStartsOn(effectValue);
            parameterDefaults.push_back(defaultOn ? 1.0f : 0.0f);
            parameter = std::make_unique<AAX_CParameter<bool>>(
                identifier.text, name, defaultOn, AAX_CBinary2TaperDelegate<bool>(),
                AAX_CBinaryDisplayDelegate<bool>(processor->getParameterTexts().entry(index, kTwoStateOffEntry),
                                                 processor->getParameterTexts().entry(index, kTwoStateOnEntry)),
                automatable);
            parameter->SetNumberOfSteps(kTwoStateSteps);
            parameter->SetType(AAX_eParameterType_Discrete);
        }
        else
        {
            const float defaultValue = continuousStartingValue(effectValue);
            parameterDefaults.push_back(defaultValue);
            const AAX_VSTParameterTextRow* row = processor->getParameterTexts().row(index);
            parameter = std::make_unique<AAX_CParameter<float>>(
                identifier.text, name, defaultValue, AAX_CLinearTaperNoRounding<float, 0>(0.0f, 1.0f),
                AAX_CUnitDisplayDelegateDecorator<float>(AAX_CVSTDisplayDelegate<float>(row),
                                                         AAX_CString(label)),
                automatable);
            parameter->SetNumberOfSteps(kContinuousSteps);
            parameter->SetType(AAX_eParameterType_Continuous);
        }
        parameter->AddShortenedName(shortName);
        if (mParameterManager.AddParameter(parameter.get()))
            parameter.release();
        publishedProcessorParameters = index + 1;
    }
}

int32_t JuceAAX_Processor::publishedIndexOf(AAX_CParamID id) const
{
    if (id == nullptr || isMasterBypass(id))
        return -1;
    const int64_t index = leadingDecimal(id);
    return index >= 0 && index < publishedProcessorParameters ? static_cast<int32_t>(index) : -1;
}

//==============================================================================
AAX_Result JuceAAX_Processor::NotificationReceived(uint32_t type, const void* data, uint32_t size)
{
    return GuardHostCall(
        [&]
        {
            if (type == AAX_eNotificationEvent_EnteringOfflineMode)
                processor->setNonRealtime(true);
            else if (type == AAX_eNotificationEvent_ExitingOfflineMode)
                processor->setNonRealtime(false);
            return AAX_CEffectParameters::NotificationReceived(type, data, size);
        });
}

AAX_Result JuceAAX_Processor::GetParameterName(AAX_CParamID id, AAX_IString* name)
{
    if (name == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            if (isMasterBypass(id))
            {
                name->Set(kMasterBypassName);
                return AAX_SUCCESS;
            }
            const int32_t index = publishedIndexOf(id);
            name->Set(index >= 0 ? processorParameterName(*processor, index, kParameterNameLength).toRawUTF8()
                                 : "");
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length)
{
    if (name == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    return GuardHostCall(
        [&]
        {
            if (isMasterBypass(id))
            {
                const char* text = kMasterBypassShortestName;
                for (const ShortName& candidate : kMasterBypassShortNames)
                {
                    if (length >= candidate.minimumLength)
                    {
                        text = candidate.text;
                        break;
                    }
                }
                name->Set(text);
                return AAX_SUCCESS;
            }
            const int32_t index = publishedIndexOf(id);
            name->Set(index >= 0 ? processorParameterName(*processor, index, length).toRawUTF8() : "");
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value)
{
    if (isMasterBypass(id))
        return AAX_SUCCESS;
    const int32_t index = publishedIndexOf(id);
    if (index < 0)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (value == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            const size_t slot = static_cast<size_t>(index);
            *value = slot < parameterDefaults.size() ? static_cast<double>(parameterDefaults[slot]) : 0.0;
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::GetParameterNormalizedValue(AAX_CParamID id, double* value)
{
    if (isMasterBypass(id))
        return AAX_CEffectParameters::GetParameterNormalizedValue(id, value);
    const int32_t index = publishedIndexOf(id);
    if (index < 0)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (value == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            // The effect's own value, so the host always sees what the effect holds.
            *value = static_cast<double>(processor->getParameter(index));
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedValue(AAX_CParamID id, double value)
{
    return GuardHostCall(
        [&]
        {
            const AAX_Result published = AAX_CEffectParameters::SetParameterNormalizedValue(id, value);
            const int32_t index = publishedIndexOf(id);
            if (index < 0)
                return published;
            float effectValue = 0.0f;
            if (toEffectValue(value, &effectValue))
                processor->setParameter(index, effectValue);
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedRelative(AAX_CParamID id, double delta)
{
    if (isMasterBypass(id))
        return AAX_CEffectParameters::SetParameterNormalizedRelative(id, delta);
    const int32_t index = publishedIndexOf(id);
    if (index < 0)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    return GuardHostCall(
        [&]
        {
            const float sum = processor->getParameter(index) + narrowToFloatClamped(delta);
            float effectValue = 0.0f;
            if (toEffectValue(static_cast<double>(sum), &effectValue))
                processor->setParameter(index, effectValue);
            // The published parameter gets the sum itself; its taper keeps it in range.
            if (AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
                parameter != nullptr && !std::isnan(sum))
                parameter->SetValueWithFloat(sum);
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source)
{
    return GuardHostCall(
        [&]
        {
            const AAX_Result result =
                AAX_CEffectParameters::UpdateParameterNormalizedValue(id, value, source);
            const int32_t index = publishedIndexOf(id);
            float effectValue = 0.0f;
            if (index >= 0 && toEffectValue(value, &effectValue))
                processor->setParameter(index, effectValue);
            return result;
        });
}

AAX_Result JuceAAX_Processor::ResetFieldData(int32_t field, void* data, uint32_t size)
{
    if (field != kAlgorithmFieldPrivateData || data == nullptr)
        return AAX_SUCCESS;
    JuceAAX_Processor* const self = this;
    auto* slots = static_cast<uint8_t*>(data);
    for (uint32_t slot = 0; slot < size / kPrivateDataSlotSize; ++slot)
        std::memcpy(slots + slot * kPrivateDataSlotSize, &self, kPrivateDataSlotSize);
    return AAX_SUCCESS;
}

//==============================================================================
AAX_Result JuceAAX_Processor::GetNumberOfChunks(int32_t* count)
{
    if (count == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *count = stateChunkIndex + 1;
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id)
{
    if (id == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    if (index == stateChunkIndex)
        *id = kProcessorStateChunkID;
    else if (index == 0)
        *id = cDefaultChunkID;
    else
    {
        *id = 0;
        return AAX_ERROR_INVALID_CHUNK_INDEX;
    }
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetChunkSize(AAX_CTypeID id, uint32_t* size)
{
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::GetChunkSize(id, size);
    if (size == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            // The state is produced once here and handed over by the read, so the host receives
            // exactly the bytes it was told the size of.
            pendingState.reset();
            processor->getStateInformation(pendingState);
            if (pendingState.getSize() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
            {
                pendingState.reset();
                return AAX_ERROR_INCORRECT_CHUNK_SIZE;
            }
            *size = static_cast<uint32_t>(pendingState.getSize());
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk)
{
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::GetChunk(id, chunk);
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            if (pendingState.getSize() == 0)
            {
                // A read without a size query: the host cannot have sized its record for this
                // state, so a record it says is smaller is not written past.
                processor->getStateInformation(pendingState);
                const size_t produced = pendingState.getSize();
                if (produced > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
                    (chunk->fSize > 0 && static_cast<size_t>(chunk->fSize) < produced))
                {
                    pendingState.reset();
                    return AAX_ERROR_INCORRECT_CHUNK_SIZE;
                }
            }
            chunk->fSize = static_cast<int32_t>(pendingState.getSize());
            if (pendingState.getSize() > 0)
                std::memcpy(chunk->fData, pendingState.getData(), pendingState.getSize());
            pendingState.reset();
            return AAX_SUCCESS;
        });
}

AAX_Result JuceAAX_Processor::SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk)
{
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::SetChunk(id, chunk);
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return GuardHostCall(
        [&]
        {
            // A negative size carries no bytes; the processor ignores blocks too short to read.
            processor->setStateInformation(chunk->fData, std::max(chunk->fSize, 0));
            return AAX_SUCCESS;
        });
}

//==============================================================================
juce::Optional<juce::AudioPlayHead::PositionInfo> JuceAAX_Processor::getPosition() const
{
    const UseGate::Use use(transportGate);
    return positionFromHostTransport(use.isAdmitted() ? mTransport.get() : nullptr, hostSampleRate);
}

//==============================================================================
void JuceAAX_Processor::audioProcessorParameterChanged(juce::AudioProcessor*, int parameterIndex,
                                                       float newValue)
{
    const UseGate::Use use(notificationGate);
    if (!use.isAdmitted())
        return;
    // The value came from the effect: the host hears of it (touch, value, release), the effect is
    // not told its own value again.
    const IndexText identifier(parameterIndex);
    GuardHostCall([&]
                  { return AAX_CEffectParameters::SetParameterNormalizedValue(identifier.text, newValue); });
}

void JuceAAX_Processor::audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&)
{
    const UseGate::Use use(notificationGate);
    if (!use.isAdmitted())
        return;
    // The host compares change counts, so the count wraps to 0 rather than going negative.
    mNumPlugInChanges = mNumPlugInChanges == std::numeric_limits<int32_t>::max() ? 0 : mNumPlugInChanges + 1;
    if (AAX_IController* controller = Controller())
        controller->SetSignalLatency(processor->getLatencySamples());
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int parameterIndex)
{
    const UseGate::Use use(notificationGate);
    if (!use.isAdmitted())
        return;
    const IndexText identifier(parameterIndex);
    TouchParameter(identifier.text);
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int parameterIndex)
{
    const UseGate::Use use(notificationGate);
    if (!use.isAdmitted())
        return;
    const IndexText identifier(parameterIndex);
    ReleaseParameter(identifier.text);
}

//==============================================================================
void JuceAAX_Processor::processAllInstances(void* const instancesBegin[], const void* instancesEnd)
{
    if (instancesBegin == nullptr || instancesEnd == nullptr)
        return;
    const auto* const end = static_cast<void* const*>(instancesEnd);
    for (void* const* instance = instancesBegin; instance < end; ++instance)
    {
        const auto* const context = static_cast<void* const*>(*instance);
        if (context == nullptr)
            continue;
        // An instance whose private data was never filled has no processor to run.
        const auto* const slot = static_cast<JuceAAX_Processor* const*>(context[kAlgorithmFieldPrivateData]);
        const auto* const blockLength = static_cast<const int32_t*>(context[kAlgorithmFieldBufferLength]);
        if (slot == nullptr || *slot == nullptr || blockLength == nullptr)
            continue;
        const auto* const bypass = static_cast<const int32_t*>(context[kAlgorithmFieldBypass]);
        try
        {
            (*slot)->renderFromHost(static_cast<float* const*>(context[kAlgorithmFieldAudioIn]),
                                    static_cast<float* const*>(context[kAlgorithmFieldAudioOut]),
                                    *blockLength, bypass != nullptr && *bypass != 0,
                                    static_cast<AAX_IMIDINode*>(context[kAlgorithmFieldMidiIn]));
        }
        catch (...)
        {
            // Nothing unwinds into the host's real-time thread; the block keeps what it holds.
        }
    }
}

void JuceAAX_Processor::renderFromHost(float* const* inputs, float* const* outputs, int32_t blockLength,
                                       bool bypass, AAX_IMIDINode* midiIn)
{
    const int32_t ins = processor->getTotalNumInputChannels();
    const int32_t outs = processor->getTotalNumOutputChannels();
    if (blockLength <= 0 || (ins > 0 && inputs == nullptr) || (outs > 0 && outputs == nullptr))
        return;
    for (int32_t channel = 0; channel < ins; ++channel)
        if (inputs[channel] == nullptr)
            return;
    for (int32_t channel = 0; channel < outs; ++channel)
        if (outputs[channel] == nullptr)
            return;

    const size_t bytes = static_cast<size_t>(blockLength) * sizeof(float);
    if (outs >= ins)
    {
        // The processor works in place in the host's outputs; outputs without an input keep what
        // the host put there.
        for (int32_t channel = 0; channel < ins; ++channel)
            if (outputs[channel] != inputs[channel])
                std::memmove(outputs[channel], inputs[channel], bytes);
        renderChannels(outputs, outs, blockLength, bypass, midiIn);
        return;
    }

    // More inputs than outputs: the extra inputs are processed in the host's input buffers.
    if (channelPointers.size() <= static_cast<size_t>(ins))
        channelPointers.resize(static_cast<size_t>(ins) + 1, nullptr);
    for (int32_t channel = 0; channel < outs; ++channel)
    {
        if (outputs[channel] != inputs[channel])
            std::memmove(outputs[channel], inputs[channel], bytes);
        channelPointers[static_cast<size_t>(channel)] = outputs[channel];
    }
    for (int32_t channel = outs; channel < ins; ++channel)
        channelPointers[static_cast<size_t>(channel)] = inputs[channel];
    renderChannels(channelPointers.data(), ins, blockLength, bypass, midiIn);
}

void JuceAAX_Processor::renderChannels(float* const* channels, int32_t channelCount, int32_t blockLength,
                                       bool bypass, AAX_IMIDINode* midiIn)
{
    // Refers to the host's channels; nothing is copied.
    juce::AudioBuffer<float> buffer(channels, channelCount, blockLength);

    collectMidi(midiIn, blockLength);

    if (blockLength != currentBlockSize)
    {
        // Only the length changed: the channel layout stays as prepared, and setting it again would
        // allocate here on the audio thread.
        currentBlockSize = blockLength;
        processor->setRateAndBufferSizeDetails(static_cast<double>(hostSampleRate), blockLength);
        processor->prepareToPlay(static_cast<double>(hostSampleRate), blockLength);
    }

    const juce::ScopedLock callbackLock(processor->getCallbackLock());
    if (bypass)
        processor->processBlockBypassed(buffer, incomingMidi);
    else
        processor->processBlock(buffer, incomingMidi);
}

void JuceAAX_Processor::collectMidi(AAX_IMIDINode* midiIn, int32_t blockLength)
{
    incomingMidi.clear();
    if (midiIn == nullptr)
        return;
    const AAX_CMidiStream* stream = midiIn->GetNodeBuffer();
    if (stream == nullptr || stream->mBuffer == nullptr)
        return;
    for (uint32_t i = 0; i < stream->mBufferSize; ++i)
    {
        const AAX_CMidiPacket& packet = stream->mBuffer[i];
        // Events outside the block are moved to its first or last sample.
        const int32_t timestamp = static_cast<int32_t>(packet.mTimestamp);
        const int32_t position = std::clamp(timestamp, 0, blockLength - 1);
        // A packet holds at most four data bytes, whatever its length field claims.
        const size_t length = std::min<size_t>(packet.mLength, kMidiPacketDataBytes);
        if (length > 0)
            incomingMidi.addEvent(packet.mData, static_cast<int>(length), position);
    }
}

} // namespace AAXClasses
