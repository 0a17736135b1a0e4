#pragma once
// The signal path of the delay: two delay lines (left, right) with feedback, a one-pole high cut on the
// echoes, and a dry/wet mix. Parameter changes never jump: gains and the filter coefficient move in
// short linear ramps, and a new delay time is reached by crossfading from the old read position to the
// new one (no pitch sweep, no click). Processing is in place safe: every input sample is read before
// the outputs for that frame are written, so inputs and outputs may share memory, even one channel for
// all four pointers.

#include <cstdint>
#include <vector>

class DelayEngine
{
public:
    // What the engine should sound like; computed by the effect once per block.
    struct Targets
    {
        int32_t delaySamples = 1; // limited to 1 .. maxDelaySamples()
        float feedback = 0.0f;    // 0..1
        float mix = 0.0f;         // 0 dry only .. 1 wet only
        bool highCutOpen = true;  // true: echoes unfiltered, bit for bit
        double highCutHz = 20000.0;
    };

    static constexpr double kDefaultSampleRate = 44100.0;
    static constexpr double kMinSampleRate = 1000.0;
    static constexpr double kMaxSampleRate = 768000.0;
    // Long enough for a bar of 4/4 at 30 BPM.
    static constexpr double kMaxDelaySeconds = 8.0;

    // Ready to process at 44.1 kHz (the effect is usable before the host says anything).
    DelayEngine();

    // [host thread] takes a new sample rate. The lines are reallocated when their needed length changes
    // and cleared on any change of rate (their content would replay at the wrong time); the same rate
    // again changes nothing, so echoes survive a host's suspend and resume. False, with the previous
    // rate kept, for a rate out of range or when memory runs out.
    bool prepare(double sampleRate);

    double sampleRate() const { return rate; }
    // The longest delay the lines hold, in samples.
    int32_t maxDelaySamples() const { return maxDelay; }

    // [audio thread] one block; allocates nothing, locks nothing. Null pointers or frames <= 0 do nothing.
    void process(float* const* inputs, float* const* outputs, int32_t frames, const Targets& targets);

private:
    // A value that walks to its target in a fixed number of equal steps and lands on it exactly.
    class LinearRamp
    {
    public:
        void snap(float target);
        void moveTo(float target, int32_t steps);
        float next();

    private:
        float value = 0.0f;
        float goal = 0.0f;
        float step = 0.0f;
        int32_t remaining = 0;
    };

    static float highCutCoefficient(const Targets& targets, double sampleRate);

    std::vector<float> lineLeft;
    std::vector<float> lineRight;
    uint32_t lineMask = 0;
    uint32_t writeIndex = 0;
    int32_t maxDelay = 1;
    double rate = 0.0;

    int32_t rampSamples = 1;
    int32_t crossfadeSamples = 1;
    int32_t readDelay = 1;   // the read position in use
    int32_t fadingDelay = 1; // the read position being faded in, while crossfading
    int32_t fadePosition = 0;
    bool crossfading = false;

    LinearRamp feedbackRamp;
    LinearRamp mixRamp;
    LinearRamp coefficientRamp;
    float filterLeft = 0.0f;
    float filterRight = 0.0f;

    // Set when there is no audio history (new or cleared lines): the next block starts at its targets
    // instead of ramping from stale values, since nothing is playing that could click.
    bool fresh = true;
};
