#pragma once
// The delay's parameters: their order, names and units, how a normalised value (0..1) maps to what the
// engine uses, and the texts shown for a value. Everything here is stateless, so any thread may call it.

#include <cstddef>
#include <cstdint>

enum DelayParameterIndex : int32_t
{
    kParamTime = 0, // free delay time, used while Sync is off
    kParamFeedback, // share of each echo fed back into the line
    kParamMix,      // dry/wet balance
    kParamSync,     // two-state: Off follows Time, On follows Note at the host's tempo
    kParamNote,     // musical division, used while Sync is on
    kParamHighCut,  // low-pass on the echoes (and so on every repeat); fully up is exactly open
    kNumDelayParameters
};

class DelayParameters
{
public:
    static constexpr double kMinTimeMs = 1.0;
    static constexpr double kMaxTimeMs = 2000.0;
    static constexpr int32_t kNumNotes = 8;
    static constexpr double kMinHighCutHz = 200.0;
    static constexpr double kMaxHighCutHz = 20000.0;
    static constexpr double kQuartersPerFourFourBar = 4.0;

    // [any thread] true for 0 <= index < kNumDelayParameters.
    static bool isValidIndex(int32_t index);
    // [any thread] the value limited to 0..1; false (value untouched) for a NaN, which is refused.
    static bool sanitize(float value, float& limited);

    // [any thread] static texts; an index out of range gives "".
    static const char* name(int32_t index);
    static const char* label(int32_t index);

    // [any thread] the display text of a value into dest (size bytes, always terminated, at most the VST
    // convention's 8 characters). An index out of range gives "".
    static void formatDisplay(int32_t index, float value, char* dest, size_t size);
    // [any thread] the value whose display is text (numbers may use '.' or ','); false when unreadable.
    static bool parseDisplay(int32_t index, const char* text, float& value);

    static double timeMs(float value);
    static float feedbackGain(float value);
    static float mixAmount(float value);
    static bool syncOn(float value);
    static int32_t noteIndex(float value);
    // The normalised value in the middle of a note's range, so it survives rounding on the way back.
    static float noteValue(int32_t note);
    static const char* noteText(int32_t note);
    static double noteQuarters(int32_t note, double quartersPerBar);
    static bool highCutOpen(float value);
    static double highCutHz(float value);
};
