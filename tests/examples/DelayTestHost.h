#pragma once
// A minimal VST 2 host for the delay's tests: loads the built Ombrel.dll from disk with dlopen, creates
// the effect through its exported "main" with this host's callback, and offers small helpers to drive
// it. The callback answers audioMasterGetTime from a VstTimeInfo the test controls and counts what the
// effect asks for.

#include "platform/NonCopyable.h"
#include "vst2/Vst2Interface.h"

#include <cstdint>
#include <string>
#include <vector>

// The values the tests and the module probe a parameter's texts at: 0.00, 0.01 ... 1.00.
constexpr int32_t kSweepPoints = 101;

// What the host callback answers and what it has been asked; one per process, reset by each DelayHost.
struct DelayHostState
{
    VstTimeInfo timeInfo{};
    bool answersTime = true; // false: audioMasterGetTime answers 0 (no transport)
    int timeRequests = 0;
    int displayUpdates = 0;
};

class DelayHost : private NonCopyable
{
public:
    // Loads the library and creates one effect; `ok()` says whether it worked, `error()` why not.
    explicit DelayHost(const char* entryName = "main");
    ~DelayHost();

    static DelayHostState& state();

    bool ok() const { return effect != nullptr; }
    const std::string& error() const { return loadError; }
    AEffect* record() const { return effect; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    // The start-up sequence our module sends: suspend, rate, block size, resume.
    void prepare(double sampleRate, int32_t blockSize);

    void setParameter(int32_t index, float value);
    float parameter(int32_t index) const;
    std::string name(int32_t index);
    std::string label(int32_t index);
    std::string display(int32_t index);
    // The value in 0.00 .. 1.00 (101 points) whose display text is `text`; -1 when none shows it.
    float valueShowing(int32_t index, const std::string& text);

    std::string programName();
    std::string programNameIndexed(int32_t program);
    std::vector<uint8_t> chunk(int32_t index);

    // Processes left and right in place (each channel its own memory) in blocks of at most blockSize.
    void processStereo(std::vector<float>& left, std::vector<float>& right, int32_t blockSize);
    // Processes one channel in place, handing its pointer as both inputs and both outputs.
    void processMono(std::vector<float>& samples, int32_t blockSize);

private:
    void* library = nullptr;
    AEffect* effect = nullptr;
    std::string loadError;
};

// Every parameter value and name of every program plus the current program, for before/after checks.
struct DelaySnapshot
{
    int32_t current = -1;
    std::vector<std::string> names;
    std::vector<std::vector<float>> values;

    static DelaySnapshot take(DelayHost& host);
    bool operator==(const DelaySnapshot& other) const;
};

constexpr int32_t kTime = 0;
constexpr int32_t kFeedback = 1;
constexpr int32_t kMix = 2;
constexpr int32_t kSync = 3;
constexpr int32_t kNote = 4;
constexpr int32_t kHighCut = 5;
constexpr int32_t kExpectedParameters = 6;
constexpr float kMaxTimeMs = 2000.0f;

// The Time value for a delay of ms milliseconds (the parameter runs linearly up to 2000 ms).
inline float timeValue(double ms)
{
    return static_cast<float>(ms / kMaxTimeMs);
}
