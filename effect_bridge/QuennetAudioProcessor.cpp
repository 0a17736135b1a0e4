#include "effect_bridge/QuennetAudioProcessor.h"

#include "effect_bridge/EffectLibraryLocation.h"
#include "effect_bridge/EffectStateSerializer.h"
#include "effect_bridge/QuennetAudioProcessorEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace
{

constexpr const char* kProcessorName = "Ombrel";

// The loader's messages; saved support answers and users' reports quote them, so they never change.
constexpr const char* kGetModuleFailedMessage = "Get module failed err=%d";
constexpr const char* kSetDllDirectoryFailedMessage = "SetDllDirectory failed err=%d";
constexpr const char* kCantLoadMessage = "Cant Load %s code=%d";
constexpr const char* kCoreLibFailedMessage = "Plug-in core lib failed to load.";
constexpr size_t kMessageSize = 256;
constexpr uint32_t kModuleFileNameSize = 1024;

constexpr const char* kEntryName = "main";
constexpr const char* kAlternativeEntryName = "Main";
// The VST 2.4 name; libraries built only for 2.4 export nothing else.
constexpr const char* kStandardEntryName = "VSTPluginMain";

constexpr float kMinimumEffectSampleRate = 15000.0f;
constexpr float kMaximumEffectSampleRate = 200000.0f;
constexpr float kFallbackEffectSampleRate = 44100.0f;

constexpr double kTimeInfoSampleRate = 44100.0;
constexpr double kDefaultTempo = 120.0;
constexpr int32_t kDefaultTimeSignature = 4;
constexpr double kMinimumTempo = 5.0;
constexpr double kMaximumTempo = 1000.0;

constexpr double kTextTableStep = 0.01;

// Block size the extra channels of a wide effect are prepared for at construction: the longest
// block a host delivers, so that a change of block length on the audio thread allocates nothing.
constexpr int kInitialWideBlockSize = 8192;

// The effect's byte texts: UTF-8 where they are valid UTF-8 (Linux effects), otherwise read byte
// by byte as Latin-1 (the narrow code page of older Windows effects).
// The process's DLL directory as it stands, "" when none is set.
std::string dllDirectory()
{
    const uint32_t needed = platform::GetDllDirectoryA(0, nullptr);
    if (needed <= 1)
        return {};
    std::string directory(needed, '\0');
    const uint32_t length = platform::GetDllDirectoryA(needed, directory.data());
    directory.resize(length < needed ? length : 0);
    return directory;
}

juce::String effectTextToString(const char* text)
{
    const size_t length = std::strlen(text);
    if (juce::CharPointer_UTF8::isValidString(text, static_cast<int>(length)))
        return juce::String::fromUTF8(text, static_cast<int>(length));
    juce::String result;
    result.preallocateBytes(length * 2);
    for (size_t i = 0; i < length; ++i)
        result += juce::String::charToString(static_cast<juce::juce_wchar>(static_cast<uint8_t>(text[i])));
    return result;
}

VstEvent** eventSlots(VstEvents* events)
{
    // The slots run past the two the record declares, so they are reached through the block's bytes.
    return reinterpret_cast<VstEvent**>(reinterpret_cast<uint8_t*>(events) + offsetof(VstEvents, events));
}

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

    // A negative delay means nothing to a host; such an effect is reported without latency.
    const int latency = std::max(0, static_cast<int>(effect->initialDelay));
    if (latency != getLatencySamples())
        setLatencySamples(latency);
    // An effect declaring more parameters than memory holds gets no texts; every read of the table
    // then answers the empty text.
    parameterTexts.allocate(effectParameterCount());
    prepareWideChannels(kInitialWideBlockSize);

    suspendEffect();
    setEffectSampleRate(static_cast<float>(getSampleRate()));
    setEffectBlockSize(getBlockSize());
    resumeEffect();

    effectReady = true;
    refreshTimer = std::make_unique<RefreshTimer>([this] { timerCallback(); });
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

void QuennetAudioProcessor::showLoaderMessage(const char* text)
{
    platform::MessageBoxA(nullptr, text, "", platform::kMessageBoxOk);
}

bool QuennetAudioProcessor::loadEffect()
{
    effect = nullptr;
    char message[kMessageSize];
    std::string libraryPath;

    platform::ModuleHandle module = nullptr;
    // The search path belongs to the whole process (the host, other plug-ins): it is set only for
    // loading the effect and then put back as it was.
    std::string previousDirectory;
    bool directorySet = false;
    const void* addressInsideModule = reinterpret_cast<const void*>(&hostCallback);
    if (!platform::GetModuleHandleExA(platform::kModuleHandleFromAddress |
                                          platform::kModuleHandleUnchangedRefcount,
                                      addressInsideModule, &module))
    {
        std::snprintf(message, sizeof(message), kGetModuleFailedMessage,
                      static_cast<int>(platform::GetLastError()));
        showLoaderMessage(message);
    }
    else
    {
        char moduleFileName[kModuleFileNameSize] = {};
        platform::GetModuleFileNameA(module, moduleFileName, kModuleFileNameSize);
        moduleFileName[kModuleFileNameSize - 1] = '\0';
        const EffectLibraryLocation location =
            EffectLibraryLocation::forModuleFile(moduleFileName, platform::kPathSeparator);
        libraryPath = location.libraryPath;
        previousDirectory = dllDirectory();
        directorySet = platform::SetDllDirectoryA(location.dllDirectory.c_str());
        if (!directorySet)
        {
            std::snprintf(message, sizeof(message), kSetDllDirectoryFailedMessage,
                          static_cast<int>(platform::GetLastError()));
            showLoaderMessage(message);
        }
    }

    library = platform::LoadLibraryA(libraryPath.c_str());
    if (directorySet)
        platform::SetDllDirectoryA(previousDirectory.empty() ? nullptr : previousDirectory.c_str());
    if (library == nullptr)
    {
        std::snprintf(message, sizeof(message), kCantLoadMessage, kEffectLibraryFileName,
                      static_cast<int>(platform::GetLastError()));
        showLoaderMessage(message);
        return false;
    }

    void* entry = platform::GetProcAddress(library, kEntryName);
    if (entry == nullptr)
        entry = platform::GetProcAddress(library, kAlternativeEntryName);
    if (entry == nullptr)
        entry = platform::GetProcAddress(library, kStandardEntryName);
    entryFunction = reinterpret_cast<VstPluginEntry>(entry);
    if (entryFunction != nullptr)
        effect = entryFunction(&hostCallback);
    if (effect == nullptr)
    {
        // The library stays loaded until destruction.
        showLoaderMessage(kCoreLibFailedMessage);
        return false;
    }
    effect->resvd1 = reinterpret_cast<intptr_t>(this);
    // Every VST 2 host opens the effect once before configuring it; many effects build their
    // processing objects only here and stay inert without it.
    dispatch(effOpen);
    return true;
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
        // Storage only grows, so the audio path allocates only for a block longer than any before.
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
    const int numSamples = buffer.getNumSamples();
    const int bufferChannels = buffer.getNumChannels();
    const int numInputs = std::min(getTotalNumInputChannels(), bufferChannels);
    const int numOutputs = std::min(getTotalNumOutputChannels(), bufferChannels);

    for (int channel = numInputs; channel < numOutputs; ++channel)
        buffer.clear(channel, 0, numSamples);

    const int32_t numEvents = convertMidi(midiMessages);
    if (numEvents > 0 && effect != nullptr)
        dispatch(effProcessEvents, 0, 0, midiEvents.get());

    updateTimeInfo();

    if (effect == nullptr || effect->processReplacing == nullptr || bufferChannels == 0)
        return;

    // The effect works in place on at most two of the buffer's channels.
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

    // An effect declaring more channels reads as many array entries as it declares: the entries
    // beyond the two mapped ones read silence and write into scratch memory. An effect whose arrays
    // cannot be prepared is not called; the block passes through.
    if (!prepareWideChannels(numSamples))
        return;
    std::fill(silentChannel.begin(), silentChannel.begin() + std::max(1, numSamples), 0.0f);
    std::fill(wideInputs.begin(), wideInputs.end(), silentChannel.data());
    std::fill(wideOutputs.begin(), wideOutputs.end(), scratchChannel.data());
    wideInputs[0] = channel0;
    wideInputs[1] = input1;
    wideOutputs[0] = channel0;
    wideOutputs[1] = output1;
    effect->processReplacing(effect, wideInputs.data(), wideOutputs.data(), numSamples);
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

//==============================================================================
int QuennetAudioProcessor::getNumParameters()
{
    return effectParameterCount();
}

const juce::String QuennetAudioProcessor::getParameterName(int parameterIndex)
{
    if (!isParameterInRange(parameterIndex))
        return {};
    char name[kEffectTextSize];
    getEffectParameterName(parameterIndex, name);
    return juce::String(parameterIndex) + ": " + effectTextToString(name);
}

float QuennetAudioProcessor::getParameter(int parameterIndex)
{
    return getEffectParameter(parameterIndex);
}

const juce::String QuennetAudioProcessor::getParameterText(int parameterIndex)
{
    if (!isParameterInRange(parameterIndex))
        return {};
    char text[kEffectTextSize];
    getEffectParameterDisplay(parameterIndex, text);
    return effectTextToString(text);
}

int QuennetAudioProcessor::getParameterNumSteps(int parameterIndex)
{
    return buildParameterTextTable(parameterIndex);
}

void QuennetAudioProcessor::setParameter(int parameterIndex, float newValue)
{
    // Host writes are held back until the effect has once asked for a display update and the
    // refresh has run, and during every refresh, which would otherwise echo the effect's own values.
    if (suppressParameterForwarding)
        return;
    setEffectParameter(parameterIndex, newValue);
}

bool QuennetAudioProcessor::isParameterAutomatable(int parameterIndex) const
{
    if (!isParameterInRange(parameterIndex))
        return false;
    char name[kEffectTextSize];
    effectText(effGetParamName, parameterIndex, name);
    return name[0] != '\0' && name[0] != '-' && name[0] != '~';
}

int QuennetAudioProcessor::getNumPrograms()
{
    return effect != nullptr ? effectProgramCount() : 1;
}

int QuennetAudioProcessor::getCurrentProgram()
{
    if (effect == nullptr)
        return currentProgram;
    const auto program = static_cast<int32_t>(dispatch(effGetProgram));
    currentProgram = program;
    return program;
}

void QuennetAudioProcessor::setCurrentProgram(int index)
{
    // A program the effect does not have never reaches it: effects index their program tables
    // with this number, and a restored block may carry any value.
    if (!isProgramInRange(index))
        return;
    currentProgram = index;
    dispatch(effSetProgram, 0, index);
}

const juce::String QuennetAudioProcessor::getProgramName(int)
{
    if (effect == nullptr)
        return {};
    char name[kEffectTextSize];
    effectText(effGetProgramName, 0, name);
    return effectTextToString(name);
}

void QuennetAudioProcessor::changeProgramName(int, const juce::String&) {}

//==============================================================================
void QuennetAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    if (effect == nullptr)
    {
        EffectStateSerializer::appendEmptyState(destData);
        return;
    }
    const std::lock_guard<std::mutex> stateOperation(stateOperationLock);
    const juce::ScopedLock callbackLock(getCallbackLock());
    if ((effect->flags & effFlagsProgramChunks) != 0)
        saveChunkForm(destData);
    else
        saveParameterForm(destData);
}

void QuennetAudioProcessor::saveChunkForm(juce::MemoryBlock& destData)
{
    void* chunk = nullptr;
    dispatch(effGetChunk, 0, 0, &chunk);
    dispatch(effGetProgram);
    // Only the second answer is copied, and only as far as it really offers data: an effect may
    // answer a null pointer, a negative length, or another length than the first time.
    chunk = nullptr;
    const intptr_t length = dispatch(effGetChunk, 0, 0, &chunk);
    EffectStateSerializer::appendChunkForm(destData, chunk, length);
}

void QuennetAudioProcessor::saveParameterForm(juce::MemoryBlock& destData)
{
    const int32_t numParameters = effectParameterCount();
    const int32_t numPrograms = effectProgramCount();
    EffectStateSerializer::ParameterFormWriter writer(destData, numParameters, numPrograms);
    const auto current = static_cast<int32_t>(dispatch(effGetProgram));
    char name[kEffectTextSize];
    for (int32_t program = 0; program < numPrograms; ++program)
    {
        dispatch(effSetProgram, 0, program);
        // The effect writes into a full-size buffer; the record keeps the first 64 bytes.
        effectText(effGetProgramName, 0, name);
        writer.writeProgramName(program, name);
        for (int32_t parameter = 0; parameter < numParameters; ++parameter)
            writer.writeValue(program, parameter, getEffectParameter(parameter));
    }
    dispatch(effSetProgram, 0, current);
    writer.finish(current);
}

void QuennetAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    using Reader = EffectStateSerializer::Reader;
    const Reader block(data, sizeInBytes);
    if (effect == nullptr || block.form() == Reader::Form::unreadable)
        return;
    const std::lock_guard<std::mutex> stateOperation(stateOperationLock);
    const juce::ScopedLock callbackLock(getCallbackLock());
    if (block.form() == Reader::Form::chunk && (effect->flags & effFlagsProgramChunks) != 0)
    {
        dispatch(effSetChunk, 0, static_cast<intptr_t>(block.chunkSize()),
                 const_cast<uint8_t*>(block.chunkData()));
        // The chunk carries the effect's own current program; selecting a program remembered from
        // before the restore would switch the effect away from it.
        const auto restoredProgram = static_cast<int32_t>(dispatch(effGetProgram));
        if (isProgramInRange(restoredProgram))
            currentProgram = restoredProgram;
    }
    else
    {
        restoreParameterForm(block);
    }
    setCurrentProgram(currentProgram);
}

void QuennetAudioProcessor::restoreParameterForm(const EffectStateSerializer::Reader& block)
{
    const int32_t storedProgram = block.storedCurrentProgram();
    if (isProgramInRange(storedProgram))
        currentProgram = storedProgram;

    const int32_t parameters = std::min(block.storedParameterCount(), effectParameterCount());
    const int32_t programs = std::min(block.readableProgramCount(), effectProgramCount());
    for (int32_t program = 0; program < programs; ++program)
    {
        dispatch(effSetProgram, 0, program);
        char name[EffectStateBlock::kProgramNameSize + 1];
        block.programName(program, name);
        dispatch(effSetProgramName, 0, 0, name);
        for (int32_t parameter = 0; parameter < parameters; ++parameter)
        {
            const float value = block.value(program, parameter);
            // A damaged value (NaN, infinity) leaves the parameter as it was.
            if (std::isfinite(value))
                setEffectParameter(parameter, value);
        }
    }
}

//==============================================================================
int32_t QuennetAudioProcessor::buildParameterTextTable(int32_t index)
{
    if (!isParameterInRange(index) || parameterTexts.row(index) == nullptr)
        return 0;
    const float remembered = getEffectParameter(index);
    char previous[kEffectTextSize] = {};
    char text[kEffectTextSize];
    int32_t changes = 0;
    for (int step = 0; step < ParameterTextTable::kSteps; ++step)
    {
        setEffectParameter(index, static_cast<float>(step * kTextTableStep));
        getEffectParameterDisplay(index, text);
        if (std::strcmp(text, previous) != 0)
        {
            std::memcpy(previous, text, sizeof(previous));
            ++changes;
        }
        parameterTexts.store(index, step, text);
    }
    setEffectParameter(index, remembered);
    return changes;
}

VstTimeInfo* QuennetAudioProcessor::getTimeInfo()
{
    return &timeInfo;
}

void QuennetAudioProcessor::getEffectParameterLabel(int32_t index, char* destination)
{
    if (destination == nullptr)
        return;
    destination[0] = '\0';
    if (isParameterInRange(index))
        effectText(effGetParamLabel, index, destination);
}

bool QuennetAudioProcessor::getEffectParameterProperties(int32_t index, VstParameterProperties* destination)
{
    if (destination == nullptr || !isParameterInRange(index))
        return false;
    *destination = VstParameterProperties{};
    const bool filled = dispatch(effGetParameterProperties, index, 0, destination) != 0;
    destination->label[sizeof(destination->label) - 1] = '\0';
    destination->shortLabel[sizeof(destination->shortLabel) - 1] = '\0';
    destination->categoryLabel[sizeof(destination->categoryLabel) - 1] = '\0';
    return filled;
}

void QuennetAudioProcessor::getEffectParameterName(int32_t index, char* destination)
{
    if (destination == nullptr)
        return;
    destination[0] = '\0';
    if (isParameterInRange(index))
        effectText(effGetParamName, index, destination);
}

void QuennetAudioProcessor::getEffectParameterDisplay(int32_t index, char* destination)
{
    if (destination == nullptr)
        return;
    destination[0] = '\0';
    if (isParameterInRange(index))
        effectText(effGetParamDisplay, index, destination);
}

float QuennetAudioProcessor::getEffectParameter(int32_t index)
{
    if (!isParameterInRange(index) || effect->getParameter == nullptr)
        return 0.0f;
    return effect->getParameter(effect, index);
}

void QuennetAudioProcessor::setEffectParameter(int32_t index, float value)
{
    if (isParameterInRange(index) && effect->setParameter != nullptr)
        effect->setParameter(effect, index, value);
}

bool QuennetAudioProcessor::canEffectParameterBeAutomated(int32_t index)
{
    return isParameterInRange(index) && dispatch(effCanBeAutomated, index) != 0;
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

void QuennetAudioProcessor::refreshParametersFromEffect()
{
    if (refreshingParameters || effect == nullptr)
        return;
    std::unique_lock<std::mutex> stateOperation(stateOperationLock, std::try_to_lock);
    if (!stateOperation.owns_lock())
    {
        // The effect is being saved or restored: what it holds now is no state to report.
        refreshCountdown = kRefreshTicks;
        return;
    }
    refreshingParameters = true;
    suppressParameterForwarding = true;
    const int32_t numParameters = getNumParameters();
    for (int32_t index = 0; index < numParameters && !closing; ++index)
    {
        // The value goes to the listeners; the held-back setParameter keeps it from the effect.
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
        setParameterNotifyingHost(index, getEffectParameter(index));
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    }
    // Host writes are accepted again before the program is read, so that whoever sees that last
    // call of the refresh reach the effect may rely on host writes reaching it too.
    suppressParameterForwarding = false;
    refreshingParameters = false;
    const auto program = static_cast<int32_t>(dispatch(effGetProgram));
    currentProgram = program;
}

void QuennetAudioProcessor::resumeEffect()
{
    dispatch(effMainsChanged, 1, 1);
}

void QuennetAudioProcessor::suspendEffect()
{
    dispatch(effMainsChanged, 0, 0);
}

intptr_t QuennetAudioProcessor::setEffectSpeakerArrangement()
{
    if (effect == nullptr)
        return 0;
    VstSpeakerArrangement input{};
    input.type = kSpeakerArrStereo;
    input.numChannels = 2;
    VstSpeakerArrangement output = input;
    return dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output);
}

void QuennetAudioProcessor::setParameterFromEffect(int32_t index, float value)
{
    if (!isParameterInRange(index))
        return;
    // The effect reported a value it already holds; setting it back could undo a newer one it set
    // meanwhile on another thread.
    sendParamChangeMessageToListeners(index, value);
}

//==============================================================================
void QuennetAudioProcessor::timerCallback()
{
    // The effect may restart the countdown from another thread at any moment; only a countdown
    // that this tick itself brought to 0 runs the refresh.
    int32_t ticks = refreshCountdown.load();
    while (ticks >= 0 && !refreshCountdown.compare_exchange_weak(ticks, ticks - 1))
    {
    }
    if (ticks == 1)
        refreshParametersFromEffect();
}

void QuennetAudioProcessor::audioProcessorParameterChanged(juce::AudioProcessor*, int, float) {}

void QuennetAudioProcessor::audioProcessorChanged(juce::AudioProcessor*,
                                                  const juce::AudioProcessorListener::ChangeDetails&)
{
    refreshCountdown = kRefreshTicks;
}
