// The play-head answer built from the host's transport, field by field, with the host's time-code
// rates and failing or missing transport queries.

#include "aax_adapter/HostTransportPosition.h"
#include "aax_library/AAX_VTransport.h"
#include "host_kit/HostController.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testhost;
using AAXClasses::positionFromHostTransport;
using FrameRateType = juce::AudioPlayHead::FrameRateType;

namespace
{

struct TransportFixture
{
    TransportFixture() : controller(host.NewController()) {}
    juce::AudioPlayHead::PositionInfo position(float sampleRate = 48000.0f)
    {
        AAX_VTransport transport(controller);
        return positionFromHostTransport(&transport, sampleRate);
    }
    TestHost host;
    HostController* controller;
};

} // namespace

TEST(HostTransportPosition, EveryFieldComesFromTheTransport)
{
    TransportFixture fixture;
    HostConfig& config = fixture.host.config;
    config.tempo = 133.5;
    config.meterNumerator = 7;
    config.meterDenominator = 8;
    config.playing = true;
    config.nativeSampleLocation = 48000;
    config.tickPosition = 960000;
    config.looping = true;
    config.loopStartTick = 2 * 960000;
    config.loopEndTick = 6 * 960000;
    config.frameRate = 2; // 25 frames
    config.timeCodeOffset = 50;

    const auto info = fixture.position();
    EXPECT_EQ(133.5, *info.getBpm());
    EXPECT_EQ(7, info.getTimeSignature()->numerator);
    EXPECT_EQ(8, info.getTimeSignature()->denominator);
    EXPECT_TRUE(info.getIsPlaying());
    EXPECT_FALSE(info.getIsRecording());
    EXPECT_EQ(48000, *info.getTimeInSamples());
    EXPECT_EQ(1.0, *info.getTimeInSeconds());
    EXPECT_EQ(1.0, *info.getPpqPosition());
    EXPECT_EQ(0.0, *info.getPpqPositionOfLastBarStart());
    EXPECT_TRUE(info.getIsLooping());
    EXPECT_EQ(2.0, info.getLoopPoints()->ppqStart);
    EXPECT_EQ(6.0, info.getLoopPoints()->ppqEnd);
    EXPECT_EQ(FrameRateType::fps25, info.getFrameRate()->getType());
    EXPECT_EQ(2.0, *info.getEditOriginTime());
}

TEST(HostTransportPosition, StoppedItStandsAtTheSelectionStartAndPlayingAtTheCurrentSample)
{
    TransportFixture fixture;
    HostConfig& config = fixture.host.config;
    config.selectionStart = 96000;
    config.nativeSampleLocation = 1234;
    EXPECT_EQ(96000, *fixture.position().getTimeInSamples());
    EXPECT_EQ(2.0, *fixture.position().getTimeInSeconds());

    config.playing = true;
    EXPECT_EQ(1234, *fixture.position().getTimeInSamples());

    // Without the selection query the current sample serves a stopped transport too.
    config.playing = false;
    config.SetResult("Transport.GetTimelineSelectionStartPosition", AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(1234, *fixture.position().getTimeInSamples());
}

TEST(HostTransportPosition, TimeCodeRatesMapToFrameRatesAndTheirOrigins)
{
    struct Case
    {
        int32_t hostRate;
        FrameRateType frameRate;
        double framesPerSecond;
    };
    const Case cases[] = {
        {1, FrameRateType::fps24, 24.0},          {2, FrameRateType::fps25, 25.0},
        {3, FrameRateType::fps2997, 29.97002997}, {4, FrameRateType::fps2997drop, 29.97002997},
        {5, FrameRateType::fps30, 30.0},          {6, FrameRateType::fps30drop, 30.0},
        {7, FrameRateType::fps24, 23.976},        {0, FrameRateType::fpsUnknown, 24.0},
        {42, FrameRateType::fpsUnknown, 24.0},
    };
    TransportFixture fixture;
    fixture.host.config.timeCodeOffset = 1000;
    for (const Case& c : cases)
    {
        fixture.host.config.frameRate = c.hostRate;
        const auto info = fixture.position();
        EXPECT_EQ(c.frameRate, info.getFrameRate()->getType()) << c.hostRate;
        EXPECT_DOUBLE_EQ(1000.0 / c.framesPerSecond, *info.getEditOriginTime()) << c.hostRate;
    }
}

TEST(HostTransportPosition, FailedQueriesLeaveTheirFieldsAtThePresets)
{
    TransportFixture fixture;
    HostConfig& config = fixture.host.config;
    config.playing = true;
    config.frameRate = 5;
    config.timeCodeOffset = 30;
    for (const char* operation : {"GetCurrentTempo", "GetCurrentMeter", "IsTransportPlaying",
                                  "GetCurrentTickPosition", "GetCurrentLoopPosition", "GetTimeCodeInfo",
                                  "GetTimelineSelectionStartPosition", "GetCurrentNativeSampleLocation"})
        config.SetResult(std::string("Transport.") + operation, AAX_ERROR_NULL_OBJECT);

    const auto info = fixture.position();
    EXPECT_EQ(0.0, *info.getBpm());
    EXPECT_EQ(4, info.getTimeSignature()->numerator);
    EXPECT_EQ(4, info.getTimeSignature()->denominator);
    EXPECT_FALSE(info.getIsPlaying());
    EXPECT_EQ(0, *info.getTimeInSamples());
    EXPECT_EQ(0.0, *info.getPpqPosition());
    EXPECT_FALSE(info.getIsLooping());
    EXPECT_EQ(FrameRateType::fpsUnknown, info.getFrameRate()->getType());
    EXPECT_EQ(0.0, *info.getEditOriginTime());

    // No transport at all (before initialisation) and no sample rate give the same presets.
    const auto bare = positionFromHostTransport(nullptr, 0.0f);
    EXPECT_EQ(0.0, *bare.getBpm());
    EXPECT_EQ(0.0, *bare.getTimeInSeconds());
    EXPECT_FALSE(bare.getIsPlaying());
}
