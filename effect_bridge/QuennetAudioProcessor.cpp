#include "effect_bridge/QuennetAudioProcessor.h"

#include "effect_bridge/QuennetAudioProcessorEditor.h"
#include "effect_bridge/ThreadChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace
{

constexpr const char* kProcessorName = "Ombrel";

constexpr float kMinimumEffectSampleRate = 15000.0f;
constexpr float kMaximumEffectSampleRate = 200000.0f;
constexpr float kFallbackEffectSampleRate = 44100.0f;

constexpr double kTimeInfoSampleRate = 44100.0;
constexpr double kDefaultTempo = 120.0;
constexpr int32_t kDefaultTimeSignature = 4;
constexpr double kMinimumTempo = 5.0;
constexpr double kMaximumTempo = 1000.0;

// Block size the extra channels of a wide effect are prepared for at construction; preparing for a
// longer block grows them. The audio path never hands the processor a block longer than it was
// prepared for.
constexpr int kInitialWideBlockSize = 8192;

VstEvent** eventSlots(VstEvents* events)
{
    // The slots run past the two the record declares, so they are reached through the block's bytes.
    return reinterpret_cast<VstEvent**>(reinterpret_cast<uint8_t*>(events) + offsetof(VstEvents, events));
}

// The processor whose block the calling thread is running, if any. The transport record is brought
// up to date only when the effect asks for it during a block, on that block's thread: building it
// costs the play head's whole answer, which most effects never want. Trivially typed and, where
// the module is an ELF library, in the static thread-local block, so each access is one load or
// store (see threadchecks::inAudioPath).
#if defined(__ELF__)
__attribute__((tls_model("initial-exec"))) thread_local const QuennetAudioProcessor* processorInBlock =
    nullptr;
#else
thread_local const QuennetAudioProcessor* processorInBlock = nullptr;
#endif

// [audio thread] Marks the calling thread as running one block of the processor, whose transport
// record becomes due for an update; nests.
class BlockOnThisThread
{
public:
    BlockOnThisThread(const QuennetAudioProcessor* processor, bool& timeInfoDue) : outer(processorInBlock)
    {
        processorInBlock = processor;
        timeInfoDue = true;
    }
    ~BlockOnThisThread() { processorInBlock = outer; }
    BlockOnThisThread(const BlockOnThisThread&) = delete;
    BlockOnThisThread& operator=(const BlockOnThisThread&) = delete;

private:
    const QuennetAudioProcessor* const outer;
};

} // namespace

//==============================================================================
QuennetAudioProcessor::QuennetAudioProcessor()
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), false)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), false))
{
    timeInfo.sampleRate = kTimeInfoSampleRate;
    timeInfo.tempo = kDefaultTempo;
    timeInfo.timeSigNumerator = kDefaultTimeSignature;
    timeInfo.timeSigDenominator = kDefaultTimeSignature;
    timeInfo.flags = kVstPpqPosValid | kVstTempoValid;
    allocateMidiEvents();

    if (!loadEffect())
        return;

    const int latency = effectLatency();
    if (latency != getLatencySamples())
        setLatencySamples(latency);
    // An effect declaring more parameters than memory holds gets no texts; every read of the table
    // then answers the empty text.
    parameterTexts.allocate(effectParameterCount());
    hostValues.allocate(effectParameterCount());
    prepareWideChannels(kInitialWideBlockSize);

    suspendEffect();
    setEffectSampleRate(static_cast<float>(getSampleRate()));
    setEffectBlockSize(getBlockSize());
    resumeEffect();

    effectReady = true;
    refreshTimer = std::make_unique<RefreshTimer>(
        [this]
        {
            timerCallback();
            applyAnnouncedLatency();
        });
    refreshTimer->startTimer(kTimerPeriodMs);
}

QuennetAudioProcessor::~QuennetAudioProcessor()
{
    // No refresh may still run inside the effect once it is closed and its library unloaded.
    closing = true;
    RefreshTimer::retire(std::move(refreshTimer));
    if (effect != nullptr)
        suspendEffect();
    // The effect may call back while it closes; by then the processor no longer offers it.
    AEffect* closing = effect;
    effect = nullptr;
    if (closing != nullptr && closing->dispatcher != nullptr)
        closing->dispatcher(closing, effClose, 0, 0, nullptr, 0.0f);
    if (library != nullptr)
    {
        platform::FreeLibrary(library);
        library = nullptr;
    }
}

int QuennetAudioProcessor::effectLatency() const
{
    // A negative delay means nothing to a host; such an effect is reported without latency.
    return std::max(0, static_cast<int>(effect->initialDelay));
}

void QuennetAudioProcessor::applyAnnouncedLatency()
{
    OMBREL_ASSERT_MESSAGE_THREAD_IF_RUNNING();
    // The effect wrote its new delay before announcing it, so taking the announcement makes the
    // delay visible here.
    if (!inputOutputChangeAnnounced.exchange(false) || effect == nullptr || closing)
        return;
    const int latency = effectLatency();
    if (latency != getLatencySamples())
        setLatencySamples(latency);
}

void QuennetAudioProcessor::refreshLatency()
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    if (effect == nullptr || closing)
        return;
    const int latency = effectLatency();
    if (latency != getLatencySamples())
        setLatencySamples(latency);
}

void QuennetAudioProcessor::allocateMidiEvents()
{
    const size_t blockSize = offsetof(VstEvents, events) + sizeof(VstEvent*) * kMidiEventSlots;
    midiEvents.reset(static_cast<VstEvents*>(std::calloc(1, blockSize)));
    if (midiEvents == nullptr)
        throw std::bad_alloc();
    midiEventRecords.reset(new VstMidiEvent[kMaxMidiEvents]());
    VstEvent** slots = eventSlots(midiEvents.get());
    for (int32_t i = 0; i < kMaxMidiEvents; ++i)
        slots[i] = reinterpret_cast<VstEvent*>(&midiEventRecords[static_cast<size_t>(i)]);
}

intptr_t QuennetAudioProcessor::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                         float opt) const
{
    if (effect == nullptr || effect->dispatcher == nullptr)
        return 0;
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

int32_t QuennetAudioProcessor::effectParameterCount() const
{
    return effect != nullptr ? std::clamp<int32_t>(effect->numParams, 0, kMaxEffectParameters) : 0;
}

int32_t QuennetAudioProcessor::effectProgramCount() const
{
    return effect != nullptr ? std::clamp<int32_t>(effect->numPrograms, 0, kMaxEffectPrograms) : 0;
}

bool QuennetAudioProcessor::isParameterInRange(int32_t index) const
{
    return index >= 0 && index < effectParameterCount();
}

bool QuennetAudioProcessor::isProgramInRange(int32_t index) const
{
    return index >= 0 && index < std::max<int32_t>(1, effectProgramCount());
}

void QuennetAudioProcessor::effectText(int32_t opcode, int32_t index, char* destination) const
{
    // The whole buffer starts zeroed and ends terminated, so that an effect writing a text without
    // its terminator can never make a reader run past the buffer.
    std::memset(destination, 0, kEffectTextSize);
    dispatch(opcode, index, 0, destination);
    destination[kEffectTextSize - 1] = '\0';
}

//==============================================================================
const juce::String QuennetAudioProcessor::getName() const
{
    return kProcessorName;
}

void QuennetAudioProcessor::prepareToPlay(double, int)
{
    OMBREL_ASSERT_NOT_AUDIO_THREAD();
    if (effect == nullptr)
        return;
    prepareWideChannels(getBlockSize());
    suspendEffect();
    setEffectSampleRate(static_cast<float>(getSampleRate()));
    setEffectBlockSize(getBlockSize());
    resumeEffect();
}

void QuennetAudioProcessor::releaseResources() {}

bool QuennetAudioProcessor::prepareWideChannels(int numSamples)
{
    if (effect == nullptr)
        return false;
    const int32_t declaredInputs = effect->numInputs;
    const int32_t declaredOutputs = effect->numOutputs;
    if (declaredInputs <= 2 && declaredOutputs <= 2)
        return true;
    if (declaredInputs > kMaxEffectChannels || declaredOutputs > kMaxEffectChannels)
        return false;
    const size_t inputEntries = static_cast<size_t>(std::max(2, declaredInputs));
    const size_t outputEntries = static_cast<size_t>(std::max(2, declaredOutputs));
    const size_t samples = static_cast<size_t>(std::max(1, numSamples));
    try
    {
        // Storage only grows: a preparation for a shorter block keeps what a longer one needed.
        if (wideInputs.size() < inputEntries)
            wideInputs.resize(inputEntries);
        if (wideOutputs.size() < outputEntries)
            wideOutputs.resize(outputEntries);
        if (silentChannel.size() < samples)
            silentChannel.resize(samples);
        if (scratchChannel.size() < samples)
            scratchChannel.resize(samples);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

int32_t QuennetAudioProcessor::convertMidi(const juce::MidiBuffer& midiMessages)
{
    if (midiMessages.isEmpty())
    {
        midiEvents->numEvents = 0;
        return 0;
    }
    int32_t filled = 0;
    for (const juce::MidiMessageMetadata metadata : midiMessages)
    {
        if (filled >= kMaxMidiEvents)
            break;
        VstMidiEvent& record = midiEventRecords[static_cast<size_t>(filled)];
        record = VstMidiEvent{};
        record.type = kVstMidiType;
        record.byteSize = sizeof(VstMidiEvent);
        record.deltaFrames = metadata.samplePosition;
        // Messages longer than four bytes (system exclusive) do not fit a MIDI record: the record
        // is reused for the next event.
        if (metadata.numBytes > 0 && metadata.numBytes <= static_cast<int>(sizeof(record.midiData)))
        {
            std::memcpy(record.midiData, metadata.data, static_cast<size_t>(metadata.numBytes));
            ++filled;
        }
    }
    midiEvents->numEvents = filled;
    return filled;
}

void QuennetAudioProcessor::updateTimeInfo()
{
    juce::AudioPlayHead* playHead = getPlayHead();
    if (playHead == nullptr)
        return;
    // What the host does not report reads as JUCE's defaults: 120 bpm, position 0, stopped.
    double bpm = kDefaultTempo;
    double ppqPosition = 0.0;
    bool playing = false;
    if (const auto position = playHead->getPosition())
    {
        if (const auto reportedBpm = position->getBpm())
            bpm = *reportedBpm;
        if (const auto reportedPpq = position->getPpqPosition())
            ppqPosition = *reportedPpq;
        playing = position->getIsPlaying();
    }

    if (bpm > kMinimumTempo && bpm < kMaximumTempo)
        timeInfo.tempo = bpm;
    timeInfo.ppqPos = ppqPosition;
    if (ppqPosition != 0.0)
        timeInfo.flags |= kVstPpqPosValid;
    else
        timeInfo.flags &= ~kVstPpqPosValid;
    const bool wasPlaying = (timeInfo.flags & kVstTransportPlaying) != 0;
    if (playing != wasPlaying)
    {
        timeInfo.flags |= kVstTransportChanged;
        if (playing)
            timeInfo.flags |= kVstTransportPlaying;
        else
            timeInfo.flags &= ~kVstTransportPlaying;
    }
}

void QuennetAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    // The refresh and the effect's editor call into the effect on the message thread; a block run
    // there would share that thread with them and stall both.
    OMBREL_ASSERT_NOT_MESSAGE_THREAD();
    const BlockOnThisThread block(this, timeInfoDue);
    const int numSamples = buffer.getNumSamples();
    const int bufferChannels = buffer.getNumChannels();
    const int numInputs = std::min(getTotalNumInputChannels(), bufferChannels);
    const int numOutputs = std::min(getTotalNumOutputChannels(), bufferChannels);

    for (int channel = numInputs; channel < numOutputs; ++channel)
        buffer.clear(channel, 0, numSamples);

    const int32_t numEvents = convertMidi(midiMessages);
    if (numEvents > 0 && effect != nullptr)
        dispatch(effProcessEvents, 0, 0, midiEvents.get());

    if (effect == nullptr || effect->processReplacing == nullptr || bufferChannels == 0)
        return;

    // The first two entries work in place on the buffer's first two channels, a mono side reading
    // or writing channel 0 twice.
    float* channel0 = buffer.getWritePointer(0);
    float* input1 = numInputs >= 2 ? buffer.getWritePointer(1) : channel0;
    float* output1 = numOutputs >= 2 ? buffer.getWritePointer(1) : channel0;

    if (effect->numInputs <= 2 && effect->numOutputs <= 2)
    {
        float* inputs[2] = {channel0, input1};
        float* outputs[2] = {channel0, output1};
        effect->processReplacing(effect, inputs, outputs, numSamples);
        return;
    }

    // An effect declaring more channels reads as many array entries as it declares. Entries past
    // the first two work in place on the buffer's channels of the same number where the host's
    // layout has them (a surround configuration); the others read silence and write into scratch
    // memory. An effect whose arrays could not be prepared is not called; the block passes through.
    // The arrays are never grown here: a block longer than they hold goes to the effect in pieces
    // of their length.
    const int piece = static_cast<int>(std::min(silentChannel.size(), scratchChannel.size()));
    if (piece == 0 || wideInputs.size() < static_cast<size_t>(std::max(2, effect->numInputs)) ||
        wideOutputs.size() < static_cast<size_t>(std::max(2, effect->numOutputs)))
        return;
    const int wideInputCount = std::min(numInputs, static_cast<int>(wideInputs.size()));
    const int wideOutputCount = std::min(numOutputs, static_cast<int>(wideOutputs.size()));
    for (int offset = 0; offset < numSamples; offset += piece)
    {
        const int length = std::min(piece, numSamples - offset);
        std::fill(silentChannel.begin(), silentChannel.begin() + length, 0.0f);
        std::fill(wideInputs.begin(), wideInputs.end(), silentChannel.data());
        std::fill(wideOutputs.begin(), wideOutputs.end(), scratchChannel.data());
        wideInputs[0] = channel0 + offset;
        wideInputs[1] = input1 + offset;
        wideOutputs[0] = channel0 + offset;
        wideOutputs[1] = output1 + offset;
        for (int channel = 2; channel < wideInputCount; ++channel)
            wideInputs[static_cast<size_t>(channel)] = buffer.getWritePointer(channel) + offset;
        for (int channel = 2; channel < wideOutputCount; ++channel)
            wideOutputs[static_cast<size_t>(channel)] = buffer.getWritePointer(channel) + offset;
        effect->processReplacing(effect, wideInputs.data(), wideOutputs.data(), length);
    }
}

const juce::String QuennetAudioProcessor::getInputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

const juce::String QuennetAudioProcessor::getOutputChannelName(int channelIndex) const
{
    return juce::String(channelIndex + 1);
}

bool QuennetAudioProcessor::isInputChannelStereoPair(int) const
{
    return true;
}

bool QuennetAudioProcessor::isOutputChannelStereoPair(int) const
{
    return true;
}

bool QuennetAudioProcessor::silenceInProducesSilenceOut() const
{
    return false;
}

double QuennetAudioProcessor::getTailLengthSeconds() const
{
    return 0.0;
}

bool QuennetAudioProcessor::acceptsMidi() const
{
    return true;
}

bool QuennetAudioProcessor::producesMidi() const
{
    return false;
}

juce::AudioProcessorEditor* QuennetAudioProcessor::createEditor()
{
    return new QuennetAudioProcessorEditor(*this);
}

bool QuennetAudioProcessor::hasEditor() const
{
    return true;
}

VstTimeInfo* QuennetAudioProcessor::getTimeInfo()
{
    // Inside one of this processor's blocks, on its thread, the first request of the block reads
    // the play head; timeInfoDue is only touched there. Elsewhere the record is handed out as the
    // last block left it.
    if (processorInBlock == this && timeInfoDue)
    {
        timeInfoDue = false;
        updateTimeInfo();
    }
    return &timeInfo;
}

void QuennetAudioProcessor::setEffectSampleRate(float rate)
{
    if (effect == nullptr)
        return;
    if (!(rate >= kMinimumEffectSampleRate && rate <= kMaximumEffectSampleRate))
        rate = kFallbackEffectSampleRate;
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

void QuennetAudioProcessor::setEffectBlockSize(int32_t size)
{
    // Before the first preparation the processor's size is 0, which effects divide by on resume.
    size = effectBlockSize(size);
    dispatch(effSetBlockSize, size, size);
}

void QuennetAudioProcessor::resumeEffect()
{
    dispatch(effMainsChanged, 1, 1);
}

void QuennetAudioProcessor::suspendEffect()
{
    dispatch(effMainsChanged, 0, 0);
}
