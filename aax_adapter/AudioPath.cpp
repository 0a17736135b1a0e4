#include "aax_adapter/AudioPath.h"

#include "aax_adapter/JuceAAX_Processor.h"
#include "aax_library/host/AAX_IMIDINode.h"
#include "effect_bridge/ProcessingExclusion.h"
#include "effect_bridge/ThreadChecks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace AAXClasses
{

namespace
{

// MIDI bytes the buffer of one piece holds: a few thousand short events. It never grows on the
// audio path; events beyond it are dropped and counted.
constexpr size_t kIncomingMidiReserveBytes = 64 * 1024;
constexpr size_t kMidiPacketDataBytes = sizeof(AAX_CMidiPacket::mData);
// What one event of at most four bytes can take in JUCE's MIDI buffer: its sample position, its
// length and its bytes, rounded up generously.
constexpr size_t kMidiEventStorageBound = 16;

} // namespace

AudioPath::AudioPath(QuennetAudioProcessor& processorToRun) : processor(processorToRun)
{
    incomingMidi.ensureSize(kIncomingMidiReserveBytes);
}

void AudioPath::prepare(int32_t inputs, int32_t outputs, int32_t blockSize)
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    preparedBlockSize = std::max<int32_t>(1, blockSize);
    // The wide-input path's channel lists and its copies of the extra inputs are sized here, off
    // the audio thread.
    channelPointers.reserve(static_cast<size_t>(std::max(inputs, outputs)) + 1);
    piecePointers.resize(static_cast<size_t>(std::max(inputs, outputs)) + 1, nullptr);
    extraInputs.assign(static_cast<size_t>(std::max(0, inputs - outputs)),
                       std::vector<float>(static_cast<size_t>(preparedBlockSize), 0.0f));
}

void AudioPath::processAllInstances(void* const instancesBegin[], const void* instancesEnd)
{
    // The refresh and the effect's editor call into the effect on the message thread; a host
    // running blocks there would share that thread with them and stall both.
    OMBREL_ASSERT_NOT_MESSAGE_THREAD();
    const threadchecks::AudioPathScope audioThread;
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
        const auto* const rate = static_cast<const float*>(context[kAlgorithmFieldSampleRate]);
        try
        {
            (*slot)->getAudioPath().renderFromHost(
                static_cast<float* const*>(context[kAlgorithmFieldAudioIn]),
                static_cast<float* const*>(context[kAlgorithmFieldAudioOut]), *blockLength,
                bypass != nullptr && *bypass != 0,
                static_cast<AAX_IMIDINode*>(context[kAlgorithmFieldMidiIn]), rate != nullptr ? *rate : 0.0f);
        }
        catch (...)
        {
            // Nothing unwinds into the host's real-time thread; the block keeps what it holds.
        }
    }
}

bool AudioPath::awaitsRate(float hostRate)
{
    // A host that names no usable rate runs at the rate it gave when the instance was made.
    if (!(hostRate > 0.0f) || !std::isfinite(hostRate))
        return false;
    if (hostSampleRate.load(std::memory_order_relaxed) != hostRate)
        hostSampleRate.store(hostRate, std::memory_order_release);
    const float prepared = preparedSampleRate.load(std::memory_order_acquire);
    // Before its first preparation the effect runs as it was made, as it always has.
    if (prepared <= 0.0f || prepared == hostRate)
        return false;
    passedThroughBlocks.fetch_add(1, std::memory_order_relaxed);
    return true;
}

void AudioPath::renderFromHost(float* const* inputs, float* const* outputs, int32_t blockLength, bool bypass,
                               AAX_IMIDINode* midiIn, float hostRate)
{
    const int32_t ins = processor.getTotalNumInputChannels();
    const int32_t outs = processor.getTotalNumOutputChannels();
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
        if (awaitsRate(hostRate))
        {
            // The effect is prepared again for the block's rate off this thread (the processor's
            // timer); until then the input passes, and outputs without an input are silent.
            for (int32_t channel = ins; channel < outs; ++channel)
                std::memset(outputs[channel], 0, bytes);
            return;
        }
        renderChannels(outputs, outs, blockLength, bypass, midiIn, outs);
        return;
    }

    // More inputs than outputs: the extra inputs reach the processor as copies (renderChannels), so
    // that the host's inputs stay as the host wrote them.
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
    if (awaitsRate(hostRate))
        return;
    renderChannels(channelPointers.data(), ins, blockLength, bypass, midiIn, outs);
}

void AudioPath::renderChannels(float* const* channels, int32_t channelCount, int32_t blockLength, bool bypass,
                               AAX_IMIDINode* midiIn, int32_t ownChannels)
{
    const int32_t copied = channelCount - ownChannels;
    // Copies that cannot be made without allocating (never after a preparation for this layout)
    // leave the processor on the host's inputs.
    const bool copies = copied > 0 && extraInputs.size() >= static_cast<size_t>(copied) &&
                        piecePointers.size() >= static_cast<size_t>(channelCount);
    // While the host thread sweeps the effect through its programs to save or restore it, the
    // block keeps the input copied into it, as a bypassed block does.
    const ProcessingExclusion::Block block(processor.getProcessingExclusion());
    if (!block.isAdmitted())
    {
        passedThroughBlocks.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    // The effect was told a maximum block size: a longer block reaches it in pieces of that size.
    for (int32_t start = 0; start < blockLength; start += preparedBlockSize)
    {
        const int32_t length = std::min(preparedBlockSize, blockLength - start);
        if (copies)
        {
            for (int32_t channel = 0; channel < channelCount; ++channel)
            {
                float* piece = channels[channel] + start;
                if (channel >= ownChannels)
                {
                    std::vector<float>& copy = extraInputs[static_cast<size_t>(channel - ownChannels)];
                    std::memcpy(copy.data(), piece, static_cast<size_t>(length) * sizeof(float));
                    piece = copy.data();
                }
                piecePointers[static_cast<size_t>(channel)] = piece;
            }
        }
        // Refers to the host's channels (and the copies); nothing else is copied.
        juce::AudioBuffer<float> buffer(copies ? piecePointers.data() : channels, channelCount,
                                        copies ? 0 : start, length);
        collectMidi(midiIn, blockLength, start, length);
        if (bypass)
            processor.processBlockBypassed(buffer, incomingMidi);
        else
            processor.processBlock(buffer, incomingMidi);
    }
}

void AudioPath::collectMidi(AAX_IMIDINode* midiIn, int32_t blockLength, int32_t pieceStart,
                            int32_t pieceLength)
{
    incomingMidi.clear();
    if (midiIn == nullptr)
        return;
    const AAX_CMidiStream* stream = midiIn->GetNodeBuffer();
    if (stream == nullptr || stream->mBuffer == nullptr || stream->mBufferSize == 0)
        return;
    size_t storedBound = 0;
    for (uint32_t i = 0; i < stream->mBufferSize; ++i)
    {
        const AAX_CMidiPacket& packet = stream->mBuffer[i];
        // Events outside the block are moved to its first or last sample.
        const int32_t timestamp = static_cast<int32_t>(packet.mTimestamp);
        const int32_t position = std::clamp(timestamp, 0, blockLength - 1);
        if (position < pieceStart || position >= pieceStart + pieceLength)
            continue;
        // A packet holds at most four data bytes, whatever its length field claims.
        const size_t length = std::min<size_t>(packet.mLength, kMidiPacketDataBytes);
        if (length == 0)
            continue;
        if (storedBound + kMidiEventStorageBound > kIncomingMidiReserveBytes)
        {
            droppedMidiEvents.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        storedBound += kMidiEventStorageBound;
        incomingMidi.addEvent(packet.mData, static_cast<int>(length), position - pieceStart);
    }
}

} // namespace AAXClasses
