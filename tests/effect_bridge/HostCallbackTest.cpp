// The host callback's answers, with and without a processor, and the transport record it hands out.

#include "effect_bridge/HostCallback.h"
#include "effect_bridge/QuennetAudioProcessor.h"
#include "tests/effect_bridge/EffectInstallation.h"
#include "tests/effect_bridge/ParameterListener.h"
#include "tests/effect_bridge/TestPlayHead.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

intptr_t call(AEffect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
              float opt = 0.0f)
{
    return hostCallback(effect, opcode, index, value, ptr, opt);
}

class HostCallbackWithProcessor : public ::testing::Test
{
protected:
    EffectInstallation installation{testEffectPath()};
    QuennetAudioProcessor processor;
    ParameterListener listener;

    void SetUp() override
    {
        ASSERT_NE(processor.getEffect(), nullptr);
        processor.addListener(&listener);
    }
    void TearDown() override { processor.removeListener(&listener); }
};

TEST(HostCallback, AnswersIdentityAndFixedQueries)
{
    EXPECT_EQ(call(nullptr, audioMasterVersion), 2);
    EXPECT_EQ(call(nullptr, audioMasterCurrentId), 0x4F4D424C);
    EXPECT_EQ(call(nullptr, audioMasterVendorSpecific), 1);
    EXPECT_EQ(call(nullptr, audioMasterPinConnected, 0), 0);
    EXPECT_EQ(call(nullptr, audioMasterPinConnected, 1), 0);
    EXPECT_EQ(call(nullptr, audioMasterPinConnected, 2), 1);
    EXPECT_EQ(call(nullptr, audioMasterPinConnected, 64), 1);

    char text[64] = "stale";
    EXPECT_EQ(call(nullptr, audioMasterGetVendorString, 0, 0, text), 0);
    EXPECT_STREQ(text, "Quorvane");
    EXPECT_EQ(call(nullptr, audioMasterGetProductString, 0, 0, text), 0);
    EXPECT_STREQ(text, "KWZ_AAX");
    EXPECT_EQ(call(nullptr, audioMasterGetVendorString), 0) << "a null buffer is left alone";
    EXPECT_EQ(call(nullptr, audioMasterGetProductString), 0);
}

TEST(HostCallback, UnlistedOpcodesAnswerZero)
{
    for (int32_t opcode : std::initializer_list<int32_t>{
             audioMasterIdle, audioMasterWantMidi, audioMasterProcessEvents, audioMasterIOChanged,
             audioMasterGetCurrentProcessLevel, audioMasterGetLanguage, audioMasterGetDirectory,
             audioMasterBeginEdit, audioMasterEndEdit, audioMasterGetInputLatency,
             audioMasterGetAutomationState, 9999, -1})
        EXPECT_EQ(call(nullptr, opcode, 1, 1, nullptr, 1.0f), 0) << "opcode " << opcode;
}

TEST(HostCallback, CapabilityTextsMatchOnlyExactly)
{
    char capitalised[] = "SendVstTimeInfo";
    char prefix[] = "sendVstTime";
    char longer[] = "sendVstTimeInfo ";
    char closing[] = "<end>";
    for (char* text : {capitalised, prefix, longer, closing})
        EXPECT_EQ(call(nullptr, audioMasterCanDo, 0, 0, text), 0) << text;
    EXPECT_EQ(call(nullptr, audioMasterCanDo), 0) << "null text";
}

TEST(HostCallback, AnswersWithoutAProcessorForNullEffectsAndUnclaimedRecords)
{
    AEffect unclaimed{}; // resvd1 still 0, as inside the effect's entry
    for (AEffect* effect : {static_cast<AEffect*>(nullptr), &unclaimed})
    {
        EXPECT_EQ(call(effect, audioMasterGetSampleRate), 44100);
        EXPECT_EQ(call(effect, audioMasterGetBlockSize), 1024);
        EXPECT_EQ(call(effect, audioMasterGetTime), 0);
        EXPECT_EQ(call(effect, audioMasterAutomate, 0, 0, nullptr, 0.5f), 0);
        EXPECT_EQ(call(effect, audioMasterSizeWindow, 100, 100), 1);
        EXPECT_EQ(call(effect, audioMasterUpdateDisplay), 0);
    }
}

TEST_F(HostCallbackWithProcessor, SampleRateIsTruncatedAndTheTransportRecordKeeps44100)
{
    processor.setPlayConfigDetails(2, 2, 44100.75, 512);
    EXPECT_EQ(call(processor.getEffect(), audioMasterGetSampleRate), 44100);
    EXPECT_EQ(call(processor.getEffect(), audioMasterGetBlockSize), 512);
    processor.setPlayConfigDetails(2, 2, 96000.0, 128);
    EXPECT_EQ(call(processor.getEffect(), audioMasterGetSampleRate), 96000);
    EXPECT_EQ(call(processor.getEffect(), audioMasterGetBlockSize), 128);
    EXPECT_EQ(processor.getTimeInfo()->sampleRate, 44100.0);
    processor.setPlayConfigDetails(2, 2, std::numeric_limits<double>::quiet_NaN(), 128);
    EXPECT_EQ(call(processor.getEffect(), audioMasterGetSampleRate), 44100) << "no integer form: the default";
}

TEST_F(HostCallbackWithProcessor, GetTimeHandsOutTheProcessorsTransportRecord)
{
    const auto* time =
        reinterpret_cast<const VstTimeInfo*>(call(processor.getEffect(), audioMasterGetTime, 0, 0xFFFF));
    ASSERT_EQ(time, processor.getTimeInfo());
    EXPECT_EQ(time->sampleRate, 44100.0);
    EXPECT_EQ(time->tempo, 120.0);
    EXPECT_EQ(time->timeSigNumerator, 4);
    EXPECT_EQ(time->timeSigDenominator, 4);
    EXPECT_EQ(time->flags, kVstPpqPosValid | kVstTempoValid);
    EXPECT_EQ(time->samplePos, 0.0);
    EXPECT_EQ(time->ppqPos, 0.0);
}

TEST_F(HostCallbackWithProcessor, AutomationOutsideTheValueOrParameterRangeChangesNothing)
{
    for (float opt :
         {1.5f, -0.1f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        EXPECT_EQ(call(processor.getEffect(), audioMasterAutomate, 1, 0, nullptr, opt), 0);
    for (int32_t index : {-1, 3, 1000})
        EXPECT_EQ(call(processor.getEffect(), audioMasterAutomate, index, 0, nullptr, 0.5f), 0);
    EXPECT_TRUE(listener.snapshot().empty());
    EXPECT_EQ(findEffectCall(installation.log(), kTestCallSetParameter, 1), -1);
    EXPECT_EQ(findEffectCall(installation.log(), kTestCallSetParameter, 3), -1);
}

TEST_F(HostCallbackWithProcessor, AutomationInRangeReachesTheListeners)
{
    EXPECT_EQ(call(processor.getEffect(), audioMasterAutomate, 1, 0, nullptr, 0.75f), 0);
    EXPECT_EQ(call(processor.getEffect(), audioMasterAutomate, 2, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(call(processor.getEffect(), audioMasterAutomate, 0, 0, nullptr, 1.0f), 0);
    const auto changes = listener.snapshot();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0], std::make_pair(1, 0.75f));
    EXPECT_EQ(changes[1], std::make_pair(2, 0.0f));
    EXPECT_EQ(changes[2], std::make_pair(0, 1.0f));
}

TEST_F(HostCallbackWithProcessor, SizeWindowSetsResizePendingAndUpdateDisplayStartsTheCountdown)
{
    EXPECT_FALSE(processor.takeEditorResizePending());
    EXPECT_EQ(installation.callHostFromEffect(audioMasterSizeWindow, 800, 600), 1);
    EXPECT_TRUE(processor.takeEditorResizePending());

    EXPECT_EQ(processor.getRefreshCountdown(), QuennetAudioProcessor::kRefreshIdle);
    EXPECT_EQ(installation.callHostFromEffect(audioMasterUpdateDisplay), 0);
    EXPECT_EQ(processor.getRefreshCountdown(), 3);
}

// The test effect asks on opening whether the host sends time information and MIDI events, as
// many effects do, and otherwise neither reads the transport nor takes MIDI.
TEST_F(HostCallbackWithProcessor, EffectsAskingWhatTheHostSendsGetTheTransportAndMidi)
{
    TestPlayHead playHead;
    playHead.bpm = 75.0;
    processor.setPlayHead(&playHead);
    processor.setPlayConfigDetails(2, 2, 48000.0, 16);
    juce::AudioBuffer<float> buffer(2, 16);
    buffer.clear();
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 64, static_cast<juce::uint8>(90)), 3);
    processor.processBlock(buffer, midi);

    const TestEffectLog& seen = installation.log();
    EXPECT_EQ(seen.process.timeInfo, reinterpret_cast<uintptr_t>(processor.getTimeInfo()));
    EXPECT_EQ(seen.process.timeInfoTempo, 75.0);
    ASSERT_EQ(seen.midi.count, 1);
    EXPECT_EQ(seen.midi.data[0][1], 64);
}

//==============================================================================
class TransportRecord : public HostCallbackWithProcessor
{
protected:
    TestPlayHead playHead;
    juce::AudioBuffer<float> buffer{2, 16};
    juce::MidiBuffer midi;

    void SetUp() override
    {
        HostCallbackWithProcessor::SetUp();
        processor.setPlayHead(&playHead);
        processor.setPlayConfigDetails(2, 2, 48000.0, 16);
    }

    const VstTimeInfo& block()
    {
        buffer.clear();
        processor.processBlock(buffer, midi);
        return *processor.getTimeInfo();
    }
};

TEST_F(TransportRecord, TempoIsTakenOnlyStrictlyBetweenFiveAndOneThousand)
{
    playHead.bpm = 5.0;
    EXPECT_EQ(block().tempo, 120.0);
    playHead.bpm = 5.01;
    EXPECT_EQ(block().tempo, 5.01);
    playHead.bpm = 1000.0;
    EXPECT_EQ(block().tempo, 5.01);
    playHead.bpm = 999.5;
    EXPECT_EQ(block().tempo, 999.5);
    playHead.bpm = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(block().tempo, 999.5);
    EXPECT_NE(block().flags & kVstTempoValid, 0);
}

TEST_F(TransportRecord, PositionZeroClearsThePpqValidBitAndKeepsTempoValid)
{
    playHead.ppqPosition = 0.0;
    EXPECT_EQ(block().flags & kVstPpqPosValid, 0);
    EXPECT_EQ(block().flags & kVstPpqPosValid, 0);
    EXPECT_NE(block().flags & kVstTempoValid, 0);

    playHead.ppqPosition = 7.25;
    EXPECT_NE(block().flags & kVstPpqPosValid, 0);
    EXPECT_EQ(block().ppqPos, 7.25);
    playHead.ppqPosition = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(block().flags & kVstPpqPosValid, 0) << "NaN counts as not zero";
}

TEST_F(TransportRecord, PlayStateChangesSetTheChangedBitForGood)
{
    EXPECT_EQ(block().flags & (kVstTransportChanged | kVstTransportPlaying), 0);
    playHead.playing = true;
    EXPECT_EQ(block().flags & (kVstTransportChanged | kVstTransportPlaying),
              kVstTransportChanged | kVstTransportPlaying);
    playHead.playing = false;
    EXPECT_EQ(block().flags & (kVstTransportChanged | kVstTransportPlaying), kVstTransportChanged);
    EXPECT_EQ(block().flags & kVstTransportChanged, kVstTransportChanged) << "never cleared again";
}

TEST_F(TransportRecord, NoOtherFieldChangesAndTheEffectReadsTheRecordWhileProcessing)
{
    playHead.bpm = 90.0;
    playHead.ppqPosition = 3.0;
    playHead.playing = true;
    const VstTimeInfo& time = block();
    EXPECT_EQ(time.sampleRate, 44100.0);
    EXPECT_EQ(time.samplePos, 0.0);
    EXPECT_EQ(time.nanoSeconds, 0.0);
    EXPECT_EQ(time.barStartPos, 0.0);
    EXPECT_EQ(time.cycleStartPos, 0.0);
    EXPECT_EQ(time.timeSigNumerator, 4);
    EXPECT_EQ(time.timeSigDenominator, 4);
    EXPECT_EQ(time.smpteOffset, 0);

    const TestEffectProcessLog& seen = installation.log().process;
    EXPECT_EQ(seen.timeInfo, reinterpret_cast<uintptr_t>(processor.getTimeInfo()));
    EXPECT_EQ(seen.timeInfoTempo, 90.0) << "updated before the effect processes";
    EXPECT_EQ(seen.timeInfoPpq, 3.0);
    EXPECT_EQ(seen.timeInfoFlags,
              kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying | kVstTransportChanged);
}

TEST_F(TransportRecord, PlayHeadWithoutPositionReadsAsStoppedAtZero)
{
    playHead.ppqPosition = 4.0;
    playHead.bpm = 100.0;
    block();
    playHead.available = false;
    const VstTimeInfo& time = block();
    EXPECT_EQ(time.tempo, 120.0);
    EXPECT_EQ(time.ppqPos, 0.0);
    EXPECT_EQ(time.flags & kVstPpqPosValid, 0);
}

} // namespace
