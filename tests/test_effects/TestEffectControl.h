#pragma once
// The control surface of the test effects: a configuration the test sets before the effect is
// created and a log of everything the effect received, both reached through exported functions of
// the effect library (the test opens the same library file as the processor, so both see one copy).
// Plain records only: the effect and the tests agree on them without sharing any code.

#include "vst2/Vst2Interface.h"

#include <cstdint>

constexpr int kTestEffectMaxParameters = 16;
constexpr int kTestEffectMaxPrograms = 8;
constexpr int kTestEffectMaxChannels = 64;
constexpr int kTestEffectNameSize = 64;
constexpr int kTestEffectLogCapacity = 16384;
constexpr int kTestEffectCapturedFrames = 16;
constexpr int kTestEffectMaxMidi = 70000;
constexpr int kTestEffectChunkCapture = 65536;

// What processReplacing writes: out0 = in0 + 10 in1 + 1000, out1 = in1 + 10 in0 + 2000, each sample
// read from every input before any output is written; an entry c past the second output gets its
// input c (0 past the inputs) + 7777.
constexpr float kTestEffectOutput0Offset = 1000.0f;
constexpr float kTestEffectOutput1Offset = 2000.0f;
constexpr float kTestEffectCrossGain = 10.0f;
constexpr float kTestEffectExtraOutputValue = 7777.0f;

// The test effect's processing of one sample on its first two outputs.
constexpr float testEffectOutput0(float in0, float in1)
{
    return in0 + kTestEffectCrossGain * in1 + kTestEffectOutput0Offset;
}

constexpr float testEffectOutput1(float in0, float in1)
{
    return in1 + kTestEffectCrossGain * in0 + kTestEffectOutput1Offset;
}

enum TestEffectDisplay : int32_t
{
    kTestDisplayValue = 0,    // the value with two decimals: a new text at every hundredth
    kTestDisplaySwitch,       // "Off" below 0.5, "On" from 0.5
    kTestDisplayFixed,        // the parameter's fixed text, whatever the value
    kTestDisplayEmpty,        // always ""
    kTestDisplayUnterminated, // fills the whole 1024-byte buffer with 'x', no terminator
};

enum TestEffectChunkMode : int32_t
{
    kTestChunkNone = 0,       // no effFlagsProgramChunks
    kTestChunkNormal,         // the same chunk on every request
    kTestChunkNullData,       // a length, but a null data pointer
    kTestChunkNegativeLength, // data, but a negative length
    kTestChunkSecondLonger,   // the second request offers 100 bytes more than the first
    kTestChunkSecondShorter,  // the second request offers half the first length
};

struct TestEffectConfig
{
    int32_t numParams;
    int32_t numPrograms;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t initialDelay;
    // From inside this processReplacing call (counted from 1; 0: never) the effect sets its delay to
    // changedInitialDelay and announces it with audioMasterIOChanged, as an effect whose latency
    // follows one of its parameters does.
    int32_t changesDelayInBlock;
    int32_t changedInitialDelay;
    int32_t chunkMode;
    int32_t chunkSize; // at least the encoded state; filled up with a byte pattern
    int32_t entryReturnsNull;
    int32_t callsHostFromEntry;  // version, rate, size, time, automation, display, resize
    int32_t requestsDuringSetup; // resize and display update from inside its first resume
    int32_t display[kTestEffectMaxParameters];
    char names[kTestEffectMaxParameters][kTestEffectNameSize];
    char fixedTexts[kTestEffectMaxParameters][kTestEffectNameSize];
    char label[kTestEffectNameSize];
    ERect editorRect;
    int32_t dividesByBlockSizeOnResume; // an integer division by its block size on every resume
    // From inside every processReplacing: the effect moves this parameter itself and reports it
    // (audioMasterAutomate); -1: none.
    int32_t automatedParameter;
    // audioMasterUpdateDisplay from inside processReplacing at most this often (0: never); every
    // request restarts the host's refresh countdown, so requests in every block would starve it.
    int32_t displayRequestIntervalMilliseconds;
    int32_t getParameterDelayMicroseconds; // each getParameter takes at least this long
    int32_t editGetRectFails;              // effEditGetRect answers 0 and no rectangle
    // setParameter throws std::bad_alloc for this parameter at values from
    // kTestEffectThrowingValue on, before it changes anything (as a real effect does at the top of
    // one of its ranges); -1: none.
    int32_t throwingParameter;
    // Non-zero: program p starts with programValues[p] instead of 0.25 for every parameter.
    int32_t seedsProgramValues;
    float programValues[kTestEffectMaxPrograms][kTestEffectMaxParameters];
    // Non-zero: each effSetSampleRate sets the effect's delay to this many samples per kHz of the
    // rate, as an effect whose look-ahead lasts a fixed time.
    int32_t delaySamplesPerKilohertz;
    // Non-zero: parameters 0 and 1 are one setting in two forms (as a direction kept as angles and
    // as coordinates): a write to either sets the other to 1 minus it, a last bit off each time as
    // real conversions are, and reports that (audioMasterAutomate).
    int32_t linksFirstTwoParameters;
};

constexpr float kTestEffectThrowingValue = 0.99f;

enum TestEffectCallKind : int32_t
{
    kTestCallEntry = 0,
    kTestCallDispatcher,
    kTestCallSetParameter,
    kTestCallProcess,
};

struct TestEffectCall
{
    int32_t kind;
    int32_t opcode; // dispatcher opcode; parameter index for kTestCallSetParameter
    int32_t index;
    int64_t value;
    float opt; // the value for kTestCallSetParameter; frames for kTestCallProcess
};

// Host answers the effect collected from inside a call (entry, or setup).
struct TestEffectHostAnswers
{
    int32_t made;
    intptr_t version;
    intptr_t currentId;
    intptr_t sampleRate;
    intptr_t blockSize;
    intptr_t time;
    intptr_t automate;
    intptr_t sizeWindow;
    intptr_t updateDisplay;
};

struct TestEffectProcessLog
{
    int32_t calls;
    int32_t frames;
    int32_t declaredInputs;
    int32_t declaredOutputs;
    uintptr_t inputs[kTestEffectMaxChannels];
    uintptr_t outputs[kTestEffectMaxChannels];
    float inputFrames[2][kTestEffectCapturedFrames]; // what entries 0 and 1 held before writing
    float extraInputPeak;                            // largest magnitude read from entries past 1
    uintptr_t timeInfo; // audioMasterGetTime during the call; 0 unless the host said it sends time info
    int32_t timeInfoFlags;
    double timeInfoTempo;
    double timeInfoPpq;
};

struct TestEffectMidiLog
{
    int32_t calls;
    int32_t count;
    int32_t badRecords; // records whose type or byteSize was wrong
    int32_t deltaFrames[kTestEffectMaxMidi];
    uint8_t data[kTestEffectMaxMidi][4];
};

struct TestEffectLog
{
    // Calls received; only the first kTestEffectLogCapacity are kept. While the effect may still be
    // called, read it with acquire ordering (__atomic_load_n) before reading the calls below it.
    int32_t count;
    TestEffectCall calls[kTestEffectLogCapacity];
    TestEffectHostAnswers fromEntryWithoutEffect;
    TestEffectHostAnswers fromEntryWithEffect;
    TestEffectHostAnswers duringSetup;
    TestEffectProcessLog process;
    TestEffectMidiLog midi;
    int32_t setChunkLength;
    uint8_t setChunk[kTestEffectChunkCapture];
    char setProgramNames[kTestEffectMaxPrograms][kTestEffectNameSize + 1];
    int32_t liveInstances;
    // The host's answer to the effect's audioMasterIOChanged; -1 until the effect asked.
    intptr_t ioChangedAnswer;
    // What the host answered when asked from inside effOpen.
    intptr_t sampleRateOnOpen;
    intptr_t blockSizeOnOpen;
    uint32_t programsSeenWhileProcessing; // bit p: processReplacing ran while program p was current
    int32_t editorOpens;                  // effEditOpen minus effEditClose
    int32_t getParameterCalls;            // counted as they start
    int32_t getParameterReturns;          // counted as they end
    int32_t callsIntoClosedEffect;        // calls that found their effect closed when they went on
    // effGetProgram calls, counted as they answer: unlike the calls above, never beyond a capacity.
    int32_t getProgramCalls;
    // The thread of the latest effSetSampleRate (std::hash of its id), 0 before any.
    uintptr_t sampleRateThread;
};

// Exported by every test effect library.
using TestEffectConfigureProc = void (*)(const TestEffectConfig* config);
using TestEffectDefaultsProc = void (*)(TestEffectConfig* config);
using TestEffectLogProc = TestEffectLog* (*)();
using TestEffectCallHostProc = intptr_t (*)(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                            float opt);
constexpr const char* kTestEffectConfigureName = "ombrelTestEffectConfigure";
constexpr const char* kTestEffectDefaultsName = "ombrelTestEffectDefaults";
constexpr const char* kTestEffectLogName = "ombrelTestEffectLog";
using TestEffectSelectProgramProc = intptr_t (*)(int32_t program, int32_t asksForDisplayUpdate);
constexpr const char* kTestEffectCallHostName = "ombrelTestEffectCallHost";
constexpr const char* kTestEffectSelectProgramName = "ombrelTestEffectSelectProgram";
