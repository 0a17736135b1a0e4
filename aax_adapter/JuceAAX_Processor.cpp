#include "aax_adapter/JuceAAX_Processor.h"

#include "aax_adapter/HostFactory.h"
#include "aax_adapter/HostTransportPosition.h"
#include "aax_adapter/ParameterIdentifiers.h"
#include "aax_adapter/ProcessorStateChunk.h"
#include "aax_adapter/StemFormats.h"
#include "aax_library/AAX_GuardHostCall.h"
#include "aax_library/host/AAX_IMIDINode.h"
#include "effect_bridge/ThreadChecks.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace AAXClasses
{

namespace
{

constexpr int32_t kInitialBlockSize = 1024;
// MIDI bytes the block's buffer holds before it has to grow: a few thousand short events, so that
// ordinary MIDI never allocates on the audio path.
constexpr size_t kIncomingMidiReserveBytes = 64 * 1024;
// Each private-data slot of field 5 holds one instance pointer.
constexpr uint32_t kPrivateDataSlotSize = sizeof(JuceAAX_Processor*);
static_assert(kPrivateDataSlotSize == 8, "the description declares 8-byte private data");
constexpr size_t kMidiPacketDataBytes = sizeof(AAX_CMidiPacket::mData);

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
    return newForHost<AAX_IACFEffectParameters_V2, JuceAAX_Processor>();
}

//==============================================================================
AAX_Result JuceAAX_Processor::EffectInit()
{
    if (AAX_IController* controller = Controller())
        controller->GetSampleRate(&hostSampleRate);
    prepareProcessor();
    processor->discardPendingRefresh();
    publishBypassParameter();
    publishProcessorParameters();
    processor->acceptHostWrites();
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
// The library's controls chunk comes first, the state chunk after it at stateChunkIndex.
AAX_Result JuceAAX_Processor::GetNumberOfChunks(int32_t* count)
{
    const AAX_Result result = AAX_CEffectParameters::GetNumberOfChunks(count);
    if (result == AAX_SUCCESS)
        *count = stateChunkIndex + 1;
    return result;
}

AAX_Result JuceAAX_Processor::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id)
{
    if (index != stateChunkIndex || id == nullptr)
        return AAX_CEffectParameters::GetChunkIDFromIndex(index, id);
    *id = kProcessorStateChunkID;
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::GetChunkSize(AAX_CTypeID id, uint32_t* size)
{
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::GetChunkSize(id, size);
    return GuardHostCall([&] { return sizeProcessorState(*processor, pendingState, size); });
}

AAX_Result JuceAAX_Processor::GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk)
{
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::GetChunk(id, chunk);
    return GuardHostCall([&] { return readProcessorState(*processor, pendingState, chunk); });
}

AAX_Result JuceAAX_Processor::SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk)
{
    if (id == cDefaultChunkID)
        return restoreControls(chunk);
    if (id != kProcessorStateChunkID)
        return AAX_CEffectParameters::SetChunk(id, chunk);
    return GuardHostCall(
        [&]
        {
            const AAX_Result result = writeProcessorState(*processor, chunk);
            if (result == AAX_SUCCESS)
            {
                stateChunkRestored = true;
                showEffectValues();
            }
            return result;
        });
}

//==============================================================================
juce::Optional<juce::AudioPlayHead::PositionInfo> JuceAAX_Processor::getPosition() const
{
    const UseGate::Use use(transportGate);
    return positionFromHostTransport(use.isAdmitted() ? mTransport.get() : nullptr, hostSampleRate);
}

//==============================================================================
template <typename Notify> void JuceAAX_Processor::notifyHost(Notify&& notify)
{
    const UseGate::Use use(notificationGate);
    if (use.isAdmitted())
        GuardHostCall(notify);
}

void JuceAAX_Processor::audioProcessorParameterChanged(juce::AudioProcessor*, int parameterIndex,
                                                       float newValue)
{
    // The value came from the effect: the host hears of it (touch, value, release), the effect is
    // not told its own value again.
    notifyHost(
        [&] {
            return AAX_CEffectParameters::SetParameterNormalizedValue(IndexText(parameterIndex).text,
                                                                      newValue);
        });
}

void JuceAAX_Processor::audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&)
{
    notifyHost(
        [&]
        {
            // The host compares change counts, so the count wraps to 0 rather than going negative.
            mNumPlugInChanges =
                mNumPlugInChanges == std::numeric_limits<int32_t>::max() ? 0 : mNumPlugInChanges + 1;
            if (AAX_IController* controller = Controller())
                controller->SetSignalLatency(processor->getLatencySamples());
            return AAX_SUCCESS;
        });
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int parameterIndex)
{
    notifyHost([&] { return TouchParameter(IndexText(parameterIndex).text); });
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int parameterIndex)
{
    notifyHost([&] { return ReleaseParameter(IndexText(parameterIndex).text); });
}

//==============================================================================
void JuceAAX_Processor::processAllInstances(void* const instancesBegin[], const void* instancesEnd)
{
    // The refresh and the effect's editor call into the effect on the message thread; a host
    // running blocks there would share that thread with them and stall both.
    OMBREL_ASSERT_NOT_MESSAGE_THREAD();
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
    if (stream == nullptr || stream->mBuffer == nullptr || stream->mBufferSize == 0)
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
