#pragma once
// One plug-in instance's context record for the native process procedure, laid out from the
// fields its component declared: one pointer-sized entry per field index, each pointing to the
// storage the host fills (channel arrays, block length, data-port bytes, MIDI node, private data).

#include "aax_library/AAX_Types.h"
#include "host_kit/Description.h"
#include "host_kit/MidiNode.h"
#include "platform/NonCopyable.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <vector>

class AAX_IACFEffectParameters;

namespace testhost
{

class HostController;

class ProcessingContext : private NonCopyable
{
public:
    // Channel counts come from the component's stem-format properties; maxBlockLength bounds
    // SetBlockLength. Guards, for hosts that watch what a plug-in writes: every channel's storage
    // holds guardSamples more before its first sample and after its last, and each channel array
    // has guardChannels more entries past the declared channels, as a host whose buffers are wider
    // than the plug-in's share of them.
    ProcessingContext(const ComponentDescription& component, int32_t maxBlockLength, int32_t guardSamples = 0,
                      int32_t guardChannels = 0);

    // The record's address: what the process procedure receives for this instance.
    void* Record() { return mRecord.data(); }
    size_t FieldCount() const { return mRecord.size(); }
    void* FieldValue(int32_t field) const;

    int32_t InputCount() const { return mInputCount; }
    int32_t OutputCount() const { return mOutputCount; }
    // Sample 0 of a channel; guard channels follow the declared ones (InputCount() on).
    float* Input(int32_t channel) { return mInputs.at(static_cast<size_t>(channel)).data() + mGuardSamples; }
    float* Output(int32_t channel) { return mOutputs.at(static_cast<size_t>(channel)).data() + mGuardSamples; }
    int32_t MaxBlockLength() const { return mMaxBlockLength; }
    int32_t GuardSamples() const { return mGuardSamples; }
    int32_t GuardChannels() const { return mGuardChannels; }
    // Fills every input channel with value (outputs with zero).
    void FillInputs(float value);

    // Clamped to 0 .. maxBlockLength.
    void SetBlockLength(int32_t length);
    int32_t BlockLength() const { return mBlockLength; }
    void SetSampleRate(float sampleRate) { mSampleRate = sampleRate; }

    MidiNode& Midi() { return mMidi; }
    // Without a connection the MIDI field holds null (no MIDI for this instance).
    void SetMidiConnected(bool connected);

    // The bytes a data-in port (or any storage field) holds; false for fields without storage.
    bool WritePort(int32_t field, const void* data, size_t size);
    // Copies the latest packet the controller received for each data-in port into the port.
    void DeliverPackets(const HostController& controller);
    // Asks the data model to fill every private-data field, as the host does for a new instance.
    AAX_Result ResetPrivateData(AAX_IACFEffectParameters* dataModel);

private:
    struct Storage
    {
        std::vector<uint64_t> words; // 8-byte aligned
        size_t size = 0;
    };
    void* AddStorage(int32_t field, size_t size);

    const int32_t mMaxBlockLength;
    const int32_t mGuardSamples;
    const int32_t mGuardChannels;
    int32_t mInputCount = 0;
    int32_t mOutputCount = 0;
    std::vector<void*> mRecord;
    std::vector<std::vector<float>> mInputs;
    std::vector<std::vector<float>> mOutputs;
    std::vector<float*> mInputPointers;
    std::vector<float*> mOutputPointers;
    int32_t mBlockLength;
    float mSampleRate = 48000.0f;
    int64_t mClock = 0;
    MidiNode mMidi;
    std::vector<int32_t> mMidiFields;
    std::vector<int32_t> mPortFields;
    std::vector<int32_t> mPrivateFields;
    std::map<int32_t, Storage> mStorage;
};

// [audio thread] one call of the process procedure over the instances' records, as the host makes
// it. Allocates nothing for up to 64 instances.
void RunProcess(AAX_CProcessProc process, ProcessingContext* const* contexts, size_t count);
void RunProcess(AAX_CProcessProc process, std::initializer_list<ProcessingContext*> contexts);

} // namespace testhost
