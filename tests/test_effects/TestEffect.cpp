// A small VST 2 effect for the tests: configurable before it is created, and logging every call it
// receives into a record the test reads back. Built several times with a different exported entry
// (TEST_EFFECT_ENTRY: 1 "main", 2 "Main", 3 "VSTPluginMain", 0 none).

#include "tests/test_effects/TestEffectControl.h"
#include "tests/test_effects/EffectRecord.h"

#include <algorithm>
#include <chrono>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#define TEST_EFFECT_EXPORT extern "C" __attribute__((visibility("default")))

namespace
{

TestEffectConfig config;
TestEffectLog effectLog;
audioMasterCallback lastHost = nullptr;
AEffect* lastEffect = nullptr;

// Like a real effect, the effect's values, programs and chunk are kept consistent under a lock of
// its own, since hosts call from several threads at once; the host is never called under it.
std::mutex stateLock;
// The effects not yet closed, guarded by stateLock: a call that waited finds out whether its effect
// was closed meanwhile instead of touching freed memory.
std::vector<const AEffect*> liveEffects;

bool isLive(const AEffect* record)
{
    return std::find(liveEffects.begin(), liveEffects.end(), record) != liveEffects.end();
}

constexpr uint32_t kChunkMagic = 0x54454643; // "TEFC"
constexpr int32_t kChunkGrowth = 100;
constexpr int32_t kBrokenChunkLength = -5;

void defaults(TestEffectConfig& c)
{
    c = TestEffectConfig{};
    c.numParams = 3;
    c.numPrograms = 2;
    c.numInputs = 2;
    c.numOutputs = 2;
    for (int i = 0; i < kTestEffectMaxParameters; ++i)
    {
        c.display[i] = kTestDisplayValue;
        std::snprintf(c.names[i], kTestEffectNameSize, "Param%d", i);
        std::snprintf(c.fixedTexts[i], kTestEffectNameSize, "Fixed");
    }
    std::snprintf(c.label, kTestEffectNameSize, "u");
    c.editorRect = ERect{0, 0, 240, 320};
    c.automatedParameter = -1;
    c.throwingParameter = -1;
}

struct Defaults
{
    Defaults()
    {
        defaults(config);
        effectLog.ioChangedAnswer = -1;
    }
} applyDefaults;

// Calls arrive from several threads. Each is written into its slot before the count that
// includes it is published, so a reader that loads the count with acquire ordering finds every
// slot below it written.
std::mutex logLock;

void record(int32_t kind, int32_t opcode, int32_t index, int64_t value, float opt)
{
    const std::lock_guard<std::mutex> guard(logLock);
    const int32_t slot = __atomic_load_n(&effectLog.count, __ATOMIC_RELAXED);
    if (slot < kTestEffectLogCapacity)
        effectLog.calls[slot] = TestEffectCall{kind, opcode, index, value, opt};
    __atomic_store_n(&effectLog.count, slot + 1, __ATOMIC_RELEASE);
}

struct TestEffect
{
    AEffect record{}; // first: the host's AEffect* is this object's address
    audioMasterCallback host = nullptr;
    int32_t program = 0;
    float values[kTestEffectMaxPrograms][kTestEffectMaxParameters] = {};
    char programNames[kTestEffectMaxPrograms][kTestEffectNameSize] = {};
    ERect rect{};
    std::vector<uint8_t> chunk;
    int32_t chunkRequests = 0;
    bool resumedOnce = false;
    int32_t blockSize = 0;
    // What the host said it can do when asked on opening: like many effects, this one reads the
    // transport only from a host that sends time information, and takes MIDI only from one that
    // sends MIDI events. A wrong answer shows as a transport never read or MIDI dropped.
    bool hostSendsTimeInfo = false;
    bool hostSendsMidi = false;
    // Audio thread only.
    uint32_t processedBlocks = 0;
    std::chrono::steady_clock::time_point lastDisplayRequest{};
};

TestEffect* self(AEffect* effect)
{
    return reinterpret_cast<TestEffect*>(effect);
}

intptr_t callHost(TestEffect& effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect.host(&effect.record, opcode, index, value, ptr, opt);
}

bool hostCanDo(TestEffect& effect, const char* capability)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%s", capability);
    return callHost(effect, audioMasterCanDo, 0, 0, text, 0.0f) == 1;
}

void collectAnswers(audioMasterCallback host, AEffect* effect, TestEffectHostAnswers& answers)
{
    answers.made = 1;
    answers.version = host(effect, audioMasterVersion, 0, 0, nullptr, 0.0f);
    answers.currentId = host(effect, audioMasterCurrentId, 0, 0, nullptr, 0.0f);
    answers.sampleRate = host(effect, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f);
    answers.blockSize = host(effect, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f);
    answers.time = host(effect, audioMasterGetTime, 0, 0, nullptr, 0.0f);
    answers.automate = host(effect, audioMasterAutomate, 0, 0, nullptr, 0.5f);
    answers.sizeWindow = host(effect, audioMasterSizeWindow, 640, 480, nullptr, 0.0f);
    answers.updateDisplay = host(effect, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
}

bool parameterInRange(int32_t index)
{
    return index >= 0 && index < config.numParams && index < kTestEffectMaxParameters;
}

void display(TestEffect& effect, int32_t index, char* text)
{
    if (!parameterInRange(index))
        return;
    const float value = effect.values[effect.program][index];
    switch (config.display[index])
    {
    case kTestDisplaySwitch:
        std::strcpy(text, value < 0.5f ? "Off" : "On");
        break;
    case kTestDisplayFixed:
        std::strcpy(text, config.fixedTexts[index]);
        break;
    case kTestDisplayEmpty:
        text[0] = '\0';
        break;
    case kTestDisplayUnterminated:
        std::memset(text, 'x', 1024);
        break;
    default:
        std::sprintf(text, "%.2f", static_cast<double>(value));
        break;
    }
}

// The chunk: magic, current program, then per program its values and the start of its name; then
// a byte pattern up to the configured size.
constexpr size_t kChunkNameBytes = 24;

size_t programCount()
{
    return static_cast<size_t>(std::clamp(config.numPrograms, 0, kTestEffectMaxPrograms));
}

size_t parameterCount()
{
    return static_cast<size_t>(std::clamp(config.numParams, 0, kTestEffectMaxParameters));
}

size_t encodedChunkSize()
{
    return 8 + programCount() * (parameterCount() * sizeof(float) + kChunkNameBytes);
}

void encodeChunk(TestEffect& effect, size_t extra)
{
    const size_t encoded = encodedChunkSize();
    const size_t total = std::max(encoded, static_cast<size_t>(std::max(0, config.chunkSize))) + extra;
    effect.chunk.assign(total, 0);
    uint8_t* out = effect.chunk.data();
    std::memcpy(out, &kChunkMagic, 4);
    std::memcpy(out + 4, &effect.program, 4);
    out += 8;
    for (size_t p = 0; p < programCount(); ++p)
    {
        std::memcpy(out, effect.values[p], parameterCount() * sizeof(float));
        out += parameterCount() * sizeof(float);
        std::memcpy(out, effect.programNames[p], kChunkNameBytes);
        out += kChunkNameBytes;
    }
    for (size_t i = encoded; i < total; ++i)
        effect.chunk[i] = static_cast<uint8_t>(i * 7 + 3);
}

intptr_t getChunk(TestEffect& effect, void** data)
{
    ++effect.chunkRequests;
    const bool second = effect.chunkRequests % 2 == 0;
    size_t extra = 0;
    if (second && config.chunkMode == kTestChunkSecondLonger)
        extra = kChunkGrowth;
    encodeChunk(effect, extra);
    intptr_t length = static_cast<intptr_t>(effect.chunk.size());
    if (second && config.chunkMode == kTestChunkSecondShorter)
        length /= 2;
    *data = effect.chunk.data();
    if (config.chunkMode == kTestChunkNullData)
        *data = nullptr;
    if (config.chunkMode == kTestChunkNegativeLength)
        return kBrokenChunkLength;
    return length;
}

void setChunk(TestEffect& effect, const uint8_t* data, intptr_t length)
{
    effectLog.setChunkLength = static_cast<int32_t>(length);
    std::memcpy(effectLog.setChunk, data,
                static_cast<size_t>(std::min<intptr_t>(length, kTestEffectChunkCapture)));
    uint32_t magic = 0;
    if (length < static_cast<intptr_t>(encodedChunkSize()))
        return;
    std::memcpy(&magic, data, 4);
    if (magic != kChunkMagic)
        return;
    std::memcpy(&effect.program, data + 4, 4);
    const uint8_t* in = data + 8;
    for (size_t p = 0; p < programCount(); ++p)
    {
        std::memcpy(effect.values[p], in, parameterCount() * sizeof(float));
        in += parameterCount() * sizeof(float);
        std::memcpy(effect.programNames[p], in, kChunkNameBytes);
        effect.programNames[p][kChunkNameBytes - 1] = '\0';
        in += kChunkNameBytes;
    }
}

void processEvents(const VstEvents* events)
{
    TestEffectMidiLog& midi = effectLog.midi;
    ++midi.calls;
    midi.count = events->numEvents;
    // The event pointers run past the two the record declares.
    const auto* slots = reinterpret_cast<VstEvent* const*>(reinterpret_cast<const uint8_t*>(events) +
                                                           offsetof(VstEvents, events));
    for (int32_t i = 0; i < events->numEvents && i < kTestEffectMaxMidi; ++i)
    {
        const auto* event = reinterpret_cast<const VstMidiEvent*>(slots[i]);
        if (event->type != kVstMidiType || event->byteSize != static_cast<int32_t>(sizeof(VstMidiEvent)))
            ++midi.badRecords;
        midi.deltaFrames[i] = event->deltaFrames;
        std::memcpy(midi.data[i], event->midiData, 4);
    }
}

intptr_t dispatcher(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    TestEffect& effect = *self(record);
    ::record(kTestCallDispatcher, opcode, index, value, opt);
    switch (opcode)
    {
    case effClose:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        liveEffects.erase(std::find(liveEffects.begin(), liveEffects.end(), record));
    }
        --effectLog.liveInstances;
        if (lastEffect == record)
            lastEffect = nullptr;
        delete &effect;
        return 0;
    case effSetProgram:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        if (value >= 0 && value < config.numPrograms && value < kTestEffectMaxPrograms)
            effect.program = static_cast<int32_t>(value);
        return 0;
    }
    case effGetProgram:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        __atomic_fetch_add(&effectLog.getProgramCalls, 1, __ATOMIC_RELEASE);
        return effect.program;
    }
    case effSetProgramName:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        std::snprintf(effect.programNames[effect.program], kTestEffectNameSize, "%s",
                      static_cast<const char*>(ptr));
        std::snprintf(effectLog.setProgramNames[effect.program], kTestEffectNameSize + 1, "%s",
                      static_cast<const char*>(ptr));
        return 0;
    }
    case effGetProgramName:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        std::strcpy(static_cast<char*>(ptr), effect.programNames[effect.program]);
        return 0;
    }
    case effGetParamLabel:
        if (parameterInRange(index))
            std::strcpy(static_cast<char*>(ptr), config.label);
        return 0;
    case effGetParamDisplay:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        display(effect, index, static_cast<char*>(ptr));
        return 0;
    }
    case effGetParamName:
        if (parameterInRange(index))
            std::strcpy(static_cast<char*>(ptr), config.names[index]);
        return 0;
    case effOpen:
        effectLog.sampleRateOnOpen = callHost(effect, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f);
        effectLog.blockSizeOnOpen = callHost(effect, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f);
        effect.hostSendsTimeInfo = hostCanDo(effect, "sendVstTimeInfo");
        effect.hostSendsMidi = hostCanDo(effect, "sendVstEvents") && hostCanDo(effect, "sendVstMidiEvent");
        return 0;
    case effSetBlockSize:
        effect.blockSize = static_cast<int32_t>(value);
        return 0;
    case effSetSampleRate:
        __atomic_store_n(&effectLog.sampleRateThread, static_cast<uintptr_t>(std::hash<std::thread::id>{}(std::this_thread::get_id())), __ATOMIC_RELEASE);
        if (config.delaySamplesPerKilohertz != 0)
            __atomic_store_n(&record->initialDelay,
                             static_cast<int32_t>(opt / 1000.0f * static_cast<float>(config.delaySamplesPerKilohertz)),
                             __ATOMIC_RELEASE);
        return 0;
    case effMainsChanged:
        if (value == 1 && config.dividesByBlockSizeOnResume != 0)
        {
            // Like an effect sizing its buffers per block: a block size of 0 ends the process
            // with a floating-point exception.
            volatile int32_t divisor = effect.blockSize;
            volatile int32_t blocksPerSecond = 48000 / divisor;
            (void)blocksPerSecond;
        }
        if (value == 1 && !effect.resumedOnce)
        {
            effect.resumedOnce = true;
            if (config.requestsDuringSetup != 0)
            {
                effectLog.duringSetup.made = 1;
                effectLog.duringSetup.sizeWindow =
                    callHost(effect, audioMasterSizeWindow, 640, 480, nullptr, 0.0f);
                effectLog.duringSetup.updateDisplay =
                    callHost(effect, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
            }
        }
        return 0;
    case effEditGetRect:
        if (config.editGetRectFails != 0)
        {
            // A failing editor that still hands out its (empty) rectangle.
            effect.rect = ERect{};
            *static_cast<ERect**>(ptr) = &effect.rect;
            return 0;
        }
        effect.rect = config.editorRect;
        *static_cast<ERect**>(ptr) = &effect.rect;
        return 1;
    case effEditOpen:
        ++effectLog.editorOpens;
        return 1;
    case effEditClose:
        --effectLog.editorOpens;
        return 0;
    case effGetChunk:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        return getChunk(effect, static_cast<void**>(ptr));
    }
    case effSetChunk:
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        setChunk(effect, static_cast<const uint8_t*>(ptr), value);
        return 0;
    }
    case effProcessEvents:
        if (!effect.hostSendsMidi)
            return 0;
        processEvents(static_cast<const VstEvents*>(ptr));
        return 1;
    case effCanBeAutomated:
        return parameterInRange(index) ? 1 : 0;
    case effSetSpeakerArrangement:
        return static_cast<const VstSpeakerArrangement*>(ptr)->numChannels == 2 &&
                       reinterpret_cast<const VstSpeakerArrangement*>(value)->numChannels == 2
                   ? 1
                   : 0;
    case effGetParameterProperties:
        if (!parameterInRange(index))
            return 0;
        std::snprintf(static_cast<VstParameterProperties*>(ptr)->label, 64, "%s", config.label);
        return 1;
    default:
        return 0;
    }
}

void setParameter(AEffect* record, int32_t index, float value)
{
    ::record(kTestCallSetParameter, index, 0, 0, value);
    if (index == config.throwingParameter && value >= kTestEffectThrowingValue)
        throw std::bad_alloc();
    TestEffect& effect = *self(record);
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        if (parameterInRange(index))
            effect.values[effect.program][index] = value;
    }
    if (config.linksFirstTwoParameters != 0 && (index == 0 || index == 1) && parameterInRange(1))
    {
        const int32_t other = 1 - index;
        // Never exactly what it was: the conversion back and forth loses a last bit either way.
        static std::atomic<int32_t> conversions{0};
        const float converted = std::nextafter(1.0f - value, (conversions.fetch_add(1) & 1) != 0 ? 0.0f : 1.0f);
        {
            const std::lock_guard<std::mutex> guard(stateLock);
            effect.values[effect.program][other] = converted;
        }
        callHost(effect, audioMasterAutomate, other, 0, nullptr, converted);
    }
}

float getParameter(AEffect* record, int32_t index)
{
    __atomic_fetch_add(&effectLog.getParameterCalls, 1, __ATOMIC_RELAXED);
    if (config.getParameterDelayMicroseconds > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(config.getParameterDelayMicroseconds));
    float value = 0.0f;
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        if (!isLive(record))
            ++effectLog.callsIntoClosedEffect;
        else if (parameterInRange(index))
            value = self(record)->values[self(record)->program][index];
    }
    __atomic_fetch_add(&effectLog.getParameterReturns, 1, __ATOMIC_RELAXED);
    return value;
}

void processReplacing(AEffect* record, float** inputs, float** outputs, int32_t frames)
{
    TestEffect& effect = *self(record);
    ::record(kTestCallProcess, 0, 0, 0, static_cast<float>(frames));
    TestEffectProcessLog& log = effectLog.process;
    ++log.calls;
    log.frames = frames;
    const int32_t numInputs = std::min(record->numInputs, kTestEffectMaxChannels);
    const int32_t numOutputs = std::min(record->numOutputs, kTestEffectMaxChannels);
    log.declaredInputs = numInputs;
    log.declaredOutputs = numOutputs;
    for (int32_t c = 0; c < numInputs; ++c)
        log.inputs[c] = reinterpret_cast<uintptr_t>(inputs[c]);
    for (int32_t c = 0; c < numOutputs; ++c)
        log.outputs[c] = reinterpret_cast<uintptr_t>(outputs[c]);

    const auto* time =
        effect.hostSendsTimeInfo
            ? reinterpret_cast<const VstTimeInfo*>(callHost(effect, audioMasterGetTime, 0, 0, nullptr, 0.0f))
            : nullptr;
    log.timeInfo = reinterpret_cast<uintptr_t>(time);
    if (time != nullptr)
    {
        log.timeInfoFlags = time->flags;
        log.timeInfoTempo = time->tempo;
        log.timeInfoPpq = time->ppqPos;
    }

    // Like a real effect: every input of a frame is read before any output of it is written, and
    // every declared entry of both arrays is used.
    log.extraInputPeak = 0.0f;
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        if (effect.program >= 0 && effect.program < 32)
            __atomic_fetch_or(&effectLog.programsSeenWhileProcessing, 1u << effect.program, __ATOMIC_RELAXED);
    }
    for (int32_t frame = 0; frame < frames; ++frame)
    {
        const float in0 = numInputs > 0 ? inputs[0][frame] : 0.0f;
        const float in1 = numInputs > 1 ? inputs[1][frame] : in0;
        float extraInputs[kTestEffectMaxChannels] = {};
        for (int32_t c = 2; c < numInputs; ++c)
        {
            extraInputs[c] = inputs[c][frame];
            log.extraInputPeak = std::max(log.extraInputPeak, std::fabs(extraInputs[c]));
        }
        if (frame < kTestEffectCapturedFrames)
        {
            log.inputFrames[0][frame] = in0;
            log.inputFrames[1][frame] = in1;
        }
        if (numOutputs > 0)
            outputs[0][frame] = in0 + kTestEffectCrossGain * in1 + kTestEffectOutput0Offset;
        if (numOutputs > 1)
            outputs[1][frame] = in1 + kTestEffectCrossGain * in0 + kTestEffectOutput1Offset;
        for (int32_t c = 2; c < numOutputs; ++c)
            outputs[c][frame] = extraInputs[c] + kTestEffectExtraOutputValue;
    }

    // The delay is written before the announcement, which the host may read from another thread.
    if (config.changesDelayInBlock > 0 &&
        effect.processedBlocks + 1 == static_cast<uint32_t>(config.changesDelayInBlock))
    {
        __atomic_store_n(&record->initialDelay, config.changedInitialDelay, __ATOMIC_RELEASE);
        effectLog.ioChangedAnswer = callHost(effect, audioMasterIOChanged, 0, 0, nullptr, 0.0f);
    }

    // What an effect with its own automation does: it moves a parameter and tells the host, and
    // asks for the display to follow.
    ++effect.processedBlocks;
    if (parameterInRange(config.automatedParameter))
    {
        const float moved = static_cast<float>(effect.processedBlocks % 100) / 100.0f;
        {
            const std::lock_guard<std::mutex> guard(stateLock);
            effect.values[effect.program][config.automatedParameter] = moved;
        }
        callHost(effect, audioMasterAutomate, config.automatedParameter, 0, nullptr, moved);
    }
    if (config.displayRequestIntervalMilliseconds > 0)
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - effect.lastDisplayRequest >=
            std::chrono::milliseconds(config.displayRequestIntervalMilliseconds))
        {
            effect.lastDisplayRequest = now;
            callHost(effect, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
        }
    }
}

[[maybe_unused]] AEffect* createEffect(audioMasterCallback host)
{
    record(kTestCallEntry, 0, 0, 0, 0.0f);
    lastHost = host;
    if (config.callsHostFromEntry != 0)
        collectAnswers(host, nullptr, effectLog.fromEntryWithoutEffect);
    if (config.entryReturnsNull != 0)
        return nullptr;

    auto* effect = new TestEffect();
    effect->host = host;
    AEffect& r = effect->record;
    fillEffectRecord(r, {dispatcher, setParameter, getParameter, processReplacing, config.numPrograms,
                         config.numParams, config.numInputs, config.numOutputs,
                         effFlagsCanReplacing | effFlagsHasEditor |
                             (config.chunkMode != kTestChunkNone ? effFlagsProgramChunks : 0),
                         vstFourCC('O', 'T', 'F', 'X')});
    r.initialDelay = config.initialDelay;
    for (int p = 0; p < kTestEffectMaxPrograms; ++p)
    {
        std::snprintf(effect->programNames[p], kTestEffectNameSize, "Program %d", p);
        for (int i = 0; i < kTestEffectMaxParameters; ++i)
            effect->values[p][i] = config.seedsProgramValues != 0 ? config.programValues[p][i] : 0.25f;
    }
    ++effectLog.liveInstances;
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        liveEffects.push_back(&r);
    }
    lastEffect = &r;
    if (config.callsHostFromEntry != 0)
        collectAnswers(host, &r, effectLog.fromEntryWithEffect);
    return &r;
}

} // namespace

TEST_EFFECT_EXPORT void ombrelTestEffectDefaults(TestEffectConfig* c)
{
    defaults(*c);
}

TEST_EFFECT_EXPORT void ombrelTestEffectConfigure(const TestEffectConfig* c)
{
    config = *c;
}

TEST_EFFECT_EXPORT TestEffectLog* ombrelTestEffectLog()
{
    return &effectLog;
}

// Makes the most recently created effect call its host, as if from its editor or its own thread.
TEST_EFFECT_EXPORT intptr_t ombrelTestEffectCallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                                     float opt)
{
    if (lastHost == nullptr)
        return -1;
    return lastHost(lastEffect, opcode, index, value, ptr, opt);
}

// What the program menu of the most recently created effect's own editor does: selects the
// program, and asks the host to update its display unless told not to (an effect that changes its
// values without telling the host). -1 without an effect or for a program it does not have.
TEST_EFFECT_EXPORT intptr_t ombrelTestEffectSelectProgram(int32_t program, int32_t asksForDisplayUpdate)
{
    if (lastEffect == nullptr || program < 0 || program >= config.numPrograms ||
        program >= kTestEffectMaxPrograms)
        return -1;
    {
        const std::lock_guard<std::mutex> guard(stateLock);
        self(lastEffect)->program = program;
    }
    if (asksForDisplayUpdate != 0)
        callHost(*self(lastEffect), audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
    return 0;
}

#if TEST_EFFECT_ENTRY == 1
// C++ reserves the name main for the program's entry, so the export gets it as its symbol name.
TEST_EFFECT_EXPORT AEffect* testEffectMain(audioMasterCallback host) __asm__("main");
AEffect* testEffectMain(audioMasterCallback host)
{
    return createEffect(host);
}
#elif TEST_EFFECT_ENTRY == 2
TEST_EFFECT_EXPORT AEffect* Main(audioMasterCallback host)
{
    return createEffect(host);
}
#elif TEST_EFFECT_ENTRY == 3
TEST_EFFECT_EXPORT AEffect* VSTPluginMain(audioMasterCallback host)
{
    return createEffect(host);
}
#endif
