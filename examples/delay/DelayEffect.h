#pragma once
// The delay as a VST 2.4 effect: owns the AEffect record handed to the host and answers its dispatcher,
// parameter and processing calls. The effect is complete as soon as it is constructed (the host is not
// obliged to send effOpen) and deletes itself on effClose, as VST 2 effects do.

#include "examples/delay/DelayEngine.h"
#include "examples/delay/DelayParameters.h"
#include "examples/delay/DelayProgramBank.h"
#include "platform/NonCopyable.h"
#include "vst2/Vst2Interface.h"

#include <cstdint>
#include <vector>

class DelayEffect : private NonCopyable
{
public:
    static constexpr int32_t kUniqueId = vstFourCC('O', 'm', 'D', 'l');
    static constexpr int32_t kVersion = 1000;
    static constexpr int32_t kNumChannels = 2;
    static constexpr double kDefaultTempo = 120.0;

    // [host thread] host may be null: the effect then runs without tempo or display updates.
    explicit DelayEffect(audioMasterCallback host);

    // The record the host drives; it lives as long as this object.
    AEffect* record() { return &effect; }

private:
    // The record's function pointers; each finds its DelayEffect through the record's object field.
    static DelayEffect* owner(AEffect* record);
    // [any thread] dispatcher: editor and chunk calls on the host's GUI and data threads.
    static intptr_t dispatcherProc(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float opt);
    // [audio thread]
    static void processReplacingProc(AEffect* record, float** inputs, float** outputs, int32_t frames);
    // [any thread]
    static void setParameterProc(AEffect* record, int32_t index, float value);
    // [any thread]
    static float getParameterProc(AEffect* record, int32_t index);

    intptr_t dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    void processReplacing(float** inputs, float** outputs, int32_t frames);

    // [audio thread] the engine's targets for this block from the current program (and the host's tempo
    // when synced).
    DelayEngine::Targets blockTargets();
    // [audio thread] asks the host for its tempo and metre; keeps the last good answer otherwise.
    void readHostTempo();
    // [any thread] tells the host our values changed so it re-reads them.
    void requestDisplayUpdate();

    intptr_t getChunk(int32_t index, void* ptr);
    intptr_t setChunk(int32_t index, intptr_t size, const void* data);
    intptr_t getParameterProperties(int32_t index, void* ptr) const;
    intptr_t setSpeakerArrangement(intptr_t input, void* output) const;
    intptr_t canDo(const char* capability) const;

    AEffect effect{};
    audioMasterCallback host; // borrowed
    DelayProgramBank programs;
    DelayEngine engine;
    std::vector<uint8_t> chunk; // what the last effGetChunk pointed the host at
    ERect editorRect{0, 0, 300, 500};
    bool editorOpen = false;
    double tempo = kDefaultTempo;                                     // last valid tempo the host reported
    double quartersPerBar = DelayParameters::kQuartersPerFourFourBar; // last valid metre, 4/4 until told
};
