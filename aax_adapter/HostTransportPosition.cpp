#include "aax_adapter/HostTransportPosition.h"

#include "aax_library/AAX_Enums.h"

#include <cmath>

namespace AAXClasses
{

namespace
{

constexpr double kDefaultBpm = 0.0;
constexpr int32_t kDefaultMeter = 4;
// The time-code origin of an undeclared frame rate is counted in frames of this rate.
constexpr double kFallbackFramesPerSecond = 24.0;

struct FrameRateEntry
{
    AAX_EFrameRate hostRate;
    juce::AudioPlayHead::FrameRateType frameRate;
    double framesPerSecond;
};

// 23.976 is reported as 24 frames (its time code counts 24 frames), with its true frame duration.
constexpr FrameRateEntry kFrameRates[] = {
    {AAX_eFrameRate_24Frame, juce::AudioPlayHead::fps24, 24.0},
    {AAX_eFrameRate_25Frame, juce::AudioPlayHead::fps25, 25.0},
    {AAX_eFrameRate_2997NonDrop, juce::AudioPlayHead::fps2997, 29.97002997},
    {AAX_eFrameRate_2997DropFrame, juce::AudioPlayHead::fps2997drop, 29.97002997},
    {AAX_eFrameRate_30NonDrop, juce::AudioPlayHead::fps30, 30.0},
    {AAX_eFrameRate_30DropFrame, juce::AudioPlayHead::fps30drop, 30.0},
    {AAX_eFrameRate_23976, juce::AudioPlayHead::fps24, 23.976},
};

} // namespace

juce::AudioPlayHead::PositionInfo positionFromHostTransport(const AAX_ITransport* transport,
                                                            float hostSampleRate)
{
    double bpm = kDefaultBpm;
    int32_t numerator = kDefaultMeter;
    int32_t denominator = kDefaultMeter;
    bool playing = false;
    int64_t samplePosition = 0;
    int64_t ticks = 0;
    bool looping = false;
    int64_t loopStartTick = 0;
    int64_t loopEndTick = 0;
    juce::AudioPlayHead::FrameRate frameRate{}; // base rate 0: fpsUnknown
    double editOriginTime = 0.0;

    if (transport != nullptr)
    {
        transport->GetCurrentTempo(&bpm);
        transport->GetCurrentMeter(&numerator, &denominator);
        if (transport->IsTransportPlaying(&playing) != AAX_SUCCESS)
            playing = false;

        int64_t location = 0;
        if (playing)
        {
            if (transport->GetCurrentNativeSampleLocation(&location) == AAX_SUCCESS)
                samplePosition = location;
        }
        else if (transport->GetTimelineSelectionStartPosition(&location) == AAX_SUCCESS ||
                 transport->GetCurrentNativeSampleLocation(&location) == AAX_SUCCESS)
        {
            samplePosition = location;
        }

        transport->GetCurrentTickPosition(&ticks);
        transport->GetCurrentLoopPosition(&looping, &loopStartTick, &loopEndTick);

        AAX_EFrameRate hostRate = AAX_eFrameRate_Undeclared;
        int32_t offset = 0;
        if (transport->GetTimeCodeInfo(&hostRate, &offset) == AAX_SUCCESS)
        {
            double framesPerSecond = kFallbackFramesPerSecond;
            for (const FrameRateEntry& entry : kFrameRates)
            {
                if (entry.hostRate == hostRate)
                {
                    frameRate = entry.frameRate;
                    framesPerSecond = entry.framesPerSecond;
                    break;
                }
            }
            editOriginTime = static_cast<double>(offset) / framesPerSecond;
        }
    }

    // Seconds are worked in single precision, as the host's own sample rate is.
    double seconds = 0.0;
    if (hostSampleRate > 0.0f && std::isfinite(hostSampleRate))
        seconds = static_cast<double>(static_cast<float>(samplePosition) / hostSampleRate);

    juce::AudioPlayHead::PositionInfo info;
    info.setBpm(bpm);
    info.setTimeSignature(juce::AudioPlayHead::TimeSignature{numerator, denominator});
    info.setIsPlaying(playing);
    info.setIsRecording(false);
    info.setTimeInSamples(samplePosition);
    info.setTimeInSeconds(seconds);
    info.setPpqPosition(static_cast<double>(ticks) / kAAX_TicksPerQuarterNote);
    info.setPpqPositionOfLastBarStart(0.0);
    info.setIsLooping(looping);
    info.setLoopPoints(
        juce::AudioPlayHead::LoopPoints{static_cast<double>(loopStartTick) / kAAX_TicksPerQuarterNote,
                                        static_cast<double>(loopEndTick) / kAAX_TicksPerQuarterNote});
    info.setFrameRate(frameRate);
    info.setEditOriginTime(editOriginTime);
    return info;
}

} // namespace AAXClasses
