#include "examples/delay/DelayEngine.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kRampSeconds = 0.02;
constexpr double kCrossfadeSeconds = 0.03;
constexpr double kTwoPi = 6.283185307179586;
// Runaway feedback (100 % with a steady input) is held at +36 dBFS instead of growing to infinity.
constexpr float kLineCeiling = 64.0f;
// Echoes decaying below this are flushed to zero so the loop never runs on denormals.
constexpr float kSilenceFloor = 1.0e-30f;

float keepInLine(float sample)
{
    const float magnitude = std::fabs(sample);
    if (!(magnitude <= kLineCeiling))
        return std::isnan(sample) ? 0.0f : std::copysign(kLineCeiling, sample);
    return magnitude < kSilenceFloor ? 0.0f : sample;
}

float highCut(float input, float coefficient, float& state)
{
    if (coefficient >= 1.0f)
    {
        // Open: pass the echo unchanged and keep the state on it, so closing the filter starts smoothly.
        state = input;
        return input;
    }
    state += coefficient * (input - state);
    if (std::fabs(state) < kSilenceFloor)
        state = 0.0f;
    return state;
}

uint32_t lineLengthFor(int32_t maxDelay)
{
    uint32_t length = 1;
    while (length < static_cast<uint32_t>(maxDelay) + 1)
        length <<= 1;
    return length;
}
} // namespace

void DelayEngine::LinearRamp::snap(float target)
{
    value = goal = target;
    step = 0.0f;
    remaining = 0;
}

void DelayEngine::LinearRamp::moveTo(float target, int32_t steps)
{
    if (target == goal)
        return;
    goal = target;
    if (steps <= 1)
    {
        snap(target);
        return;
    }
    step = (goal - value) / static_cast<float>(steps);
    remaining = steps;
}

float DelayEngine::LinearRamp::next()
{
    if (remaining > 0)
    {
        value = --remaining == 0 ? goal : value + step;
    }
    return value;
}

DelayEngine::DelayEngine()
{
    prepare(kDefaultSampleRate);
}

bool DelayEngine::prepare(double sampleRate)
{
    if (!(sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate))
        return false;
    if (sampleRate == rate)
        return true;

    const int32_t newMaxDelay = static_cast<int32_t>(std::ceil(kMaxDelaySeconds * sampleRate));
    const uint32_t length = lineLengthFor(newMaxDelay);
    if (length != lineLeft.size())
    {
        try
        {
            std::vector<float> left(length, 0.0f);
            std::vector<float> right(length, 0.0f);
            lineLeft.swap(left);
            lineRight.swap(right);
        }
        catch (...)
        {
            return false;
        }
    }
    else
    {
        std::fill(lineLeft.begin(), lineLeft.end(), 0.0f);
        std::fill(lineRight.begin(), lineRight.end(), 0.0f);
    }

    rate = sampleRate;
    maxDelay = newMaxDelay;
    lineMask = length - 1;
    writeIndex = 0;
    rampSamples = std::max(1, static_cast<int32_t>(std::lround(kRampSeconds * sampleRate)));
    crossfadeSamples = std::max(1, static_cast<int32_t>(std::lround(kCrossfadeSeconds * sampleRate)));
    crossfading = false;
    filterLeft = filterRight = 0.0f;
    fresh = true;
    return true;
}

float DelayEngine::highCutCoefficient(const Targets& targets, double sampleRate)
{
    if (targets.highCutOpen)
        return 1.0f;
    const double coefficient = 1.0 - std::exp(-kTwoPi * targets.highCutHz / sampleRate);
    return static_cast<float>(std::clamp(coefficient, 0.0, 1.0));
}

void DelayEngine::process(float* const* inputs, float* const* outputs, int32_t frames, const Targets& targets)
{
    if (frames <= 0 || inputs == nullptr || outputs == nullptr || inputs[0] == nullptr ||
        inputs[1] == nullptr || outputs[0] == nullptr || outputs[1] == nullptr || lineLeft.empty())
        return;

    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];

    const int32_t targetDelay = std::clamp(targets.delaySamples, 1, maxDelay);
    const float coefficient = highCutCoefficient(targets, rate);
    if (fresh)
    {
        feedbackRamp.snap(targets.feedback);
        mixRamp.snap(targets.mix);
        coefficientRamp.snap(coefficient);
        readDelay = targetDelay;
        crossfading = false;
        fresh = false;
    }
    else
    {
        feedbackRamp.moveTo(targets.feedback, rampSamples);
        mixRamp.moveTo(targets.mix, rampSamples);
        coefficientRamp.moveTo(coefficient, rampSamples);
    }

    for (int32_t i = 0; i < frames; ++i)
    {
        // Both inputs are read before anything is written: the host may hand the same memory for both.
        const float dryLeft = inLeft[i];
        const float dryRight = inRight[i];

        // A new time starts a crossfade only when none is running, so fast automation produces a chain
        // of complete fades rather than a jump.
        if (!crossfading && readDelay != targetDelay)
        {
            fadingDelay = targetDelay;
            fadePosition = 0;
            crossfading = true;
        }

        float tapLeft = lineLeft[(writeIndex - static_cast<uint32_t>(readDelay)) & lineMask];
        float tapRight = lineRight[(writeIndex - static_cast<uint32_t>(readDelay)) & lineMask];
        if (crossfading)
        {
            const uint32_t fadeIndex = (writeIndex - static_cast<uint32_t>(fadingDelay)) & lineMask;
            const float in = static_cast<float>(++fadePosition) / static_cast<float>(crossfadeSamples);
            tapLeft += in * (lineLeft[fadeIndex] - tapLeft);
            tapRight += in * (lineRight[fadeIndex] - tapRight);
            if (fadePosition >= crossfadeSamples)
            {
                readDelay = fadingDelay;
                crossfading = false;
            }
        }

        const float feedback = feedbackRamp.next();
        const float mix = mixRamp.next();
        const float cut = coefficientRamp.next();

        const float wetLeft = highCut(tapLeft, cut, filterLeft);
        const float wetRight = highCut(tapRight, cut, filterRight);
        lineLeft[writeIndex] = keepInLine(dryLeft + feedback * wetLeft);
        lineRight[writeIndex] = keepInLine(dryRight + feedback * wetRight);
        writeIndex = (writeIndex + 1) & lineMask;

        outLeft[i] = dryLeft * (1.0f - mix) + wetLeft * mix;
        outRight[i] = dryRight * (1.0f - mix) + wetRight * mix;
    }
}
