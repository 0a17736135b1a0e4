#pragma once
// The audio-thread half of one plug-in instance: the native process procedure, and the steps that
// turn one host block into calls of the processor's block operations on the host's own buffers,
// with the block's MIDI input. Everything here runs on the audio thread except construction and
// preparation.

#include "effect_bridge/QuennetAudioProcessor.h"
#include "platform/NonCopyable.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <cstdint>
#include <vector>

class AAX_IMIDINode;

namespace AAXClasses
{

// The context record the host fills for every instance before each block: one pointer per field.
enum AlgorithmContextField : int32_t
{
    kAlgorithmFieldAudioIn = 0,      // float* const* : input channels
    kAlgorithmFieldAudioOut = 1,     // float* const* : output channels
    kAlgorithmFieldBufferLength = 2, // int32_t*      : block length
    kAlgorithmFieldBypass = 3,       // int32_t*      : master bypass, non-zero = bypassed
    kAlgorithmFieldMidiIn = 4,       // AAX_IMIDINode*: MIDI input, null = none
    kAlgorithmFieldPrivateData = 5,  // JuceAAX_Processor** : the instance the block belongs to
    kAlgorithmFieldSampleRate = 6,   // AAX_CSampleRate* : the rate the block runs at, null = unknown
    kAlgorithmFieldCount = 7,
};

class AudioPath : private NonCopyable
{
public:
    // [host thread] The processor is borrowed and outlives this object.
    explicit AudioPath(QuennetAudioProcessor& processor);

    // [audio thread] The native process procedure: one block for every instance from instancesBegin
    // up to instancesEnd.
    static void processAllInstances(void* const instancesBegin[], const void* instancesEnd);

    // [host thread] The processor has just been prepared with these channel counts and block size:
    // sizes what the audio path keeps, so that blocks need not, and keeps the size as the longest
    // piece a block is handed to the processor in. Blocks never prepare the processor again.
    void prepare(int32_t inputs, int32_t outputs, int32_t blockSize);

    // [audio thread] hostRate: the rate the host runs the block at, 0 when it does not say.
    void renderFromHost(float* const* inputs, float* const* outputs, int32_t blockLength, bool bypass,
                        AAX_IMIDINode* midiIn, float hostRate = 0.0f);

    // [host thread] or [message thread] The effect has just been prepared for this rate: blocks at
    // any other rate pass their input through until it is prepared for theirs.
    void setPreparedSampleRate(float rate) { preparedSampleRate.store(rate, std::memory_order_release); }
    // [any thread] The rate the effect is prepared for, 0 before the first preparation.
    float getPreparedSampleRate() const { return preparedSampleRate.load(std::memory_order_acquire); }
    // [any thread] The rate of the host's latest block that named one, 0 before any did. When it is
    // not the prepared rate, the effect waits to be prepared again off the audio thread.
    float getHostSampleRate() const { return hostSampleRate.load(std::memory_order_acquire); }

    // [any thread] MIDI events dropped because a piece's buffer was full, and blocks that passed
    // their input through because the host thread was sweeping the effect's programs or the effect
    // was not yet prepared for the block's rate.
    uint64_t getDroppedMidiEvents() const { return droppedMidiEvents.load(std::memory_order_relaxed); }
    uint64_t getPassedThroughBlocks() const { return passedThroughBlocks.load(std::memory_order_relaxed); }

private:
    // [audio thread] Whether the block must pass through because the effect is prepared for
    // another rate; notes the block's rate either way.
    bool awaitsRate(float hostRate);
    // [audio thread]
    // channels from ownChannels on are the host's inputs, which the processor gets copies of.
    void renderChannels(float* const* channels, int32_t channelCount, int32_t blockLength, bool bypass,
                        AAX_IMIDINode* midiIn, int32_t ownChannels);
    // The events of the piece from pieceStart, pieceLength samples long, at their offsets in it.
    void collectMidi(AAX_IMIDINode* midiIn, int32_t blockLength, int32_t pieceStart, int32_t pieceLength);

    QuennetAudioProcessor& processor;
    juce::MidiBuffer incomingMidi;
    std::vector<float*> channelPointers;
    // One piece's channels, and the copies of the inputs past the outputs, each a prepared block long.
    std::vector<float*> piecePointers;
    std::vector<std::vector<float>> extraInputs;
    int32_t preparedBlockSize = 1;
    std::atomic<uint64_t> droppedMidiEvents{0};
    std::atomic<uint64_t> passedThroughBlocks{0};
    std::atomic<float> preparedSampleRate{0.0f};
    std::atomic<float> hostSampleRate{0.0f};
};

} // namespace AAXClasses
