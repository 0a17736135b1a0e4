#pragma once
// The audio every benchmark processes: a steady tone a little different on each channel, well
// below full scale, so that the effect runs on ordinary material (no silence, no clipping, no
// denormals) in every repetition.

#include <cmath>
#include <cstdint>

namespace testsignal
{

constexpr double kFrequency = 441.0;
constexpr double kAmplitude = 0.25;
constexpr double kSampleRate = 48000.0;

// [any thread] frames samples of the channel's tone into destination.
inline void fill(float* destination, int32_t frames, int32_t channel)
{
    const double step = 2.0 * M_PI * kFrequency * (1.0 + 0.5 * channel) / kSampleRate;
    for (int32_t n = 0; n < frames; ++n)
        destination[n] = static_cast<float>(kAmplitude * std::sin(step * n));
}

} // namespace testsignal
