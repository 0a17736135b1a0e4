// One block through the effect: channel mapping, MIDI, preparation, and effects declaring many
// channels. The test effect writes out0 = in0 + 10 in1 + 1000 and out1 = in1 + 10 in0 + 2000.

#include "effect_bridge/QuennetAudioProcessor.h"
#include "tests/effect_bridge/EffectInstallation.h"
#include "tests/effect_bridge/TestPlayHead.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

constexpr int kFrames = 32;

float ramp(int channel, int frame)
{
    return static_cast<float>((channel + 1) * 0.5 + frame * 0.125);
}

float output0(float in0, float in1)
{
    return in0 + kTestEffectCrossGain * in1 + kTestEffectOutput0Offset;
}

float output1(float in0, float in1)
{
    return in1 + kTestEffectCrossGain * in0 + kTestEffectOutput1Offset;
}

class Processing : public ::testing::Test
{
protected:
    EffectInstallation installation{testEffectPath()};
    std::unique_ptr<QuennetAudioProcessor> processor;
    TestPlayHead playHead;
    juce::MidiBuffer midi;

    void create(int declaredInputs = 2, int declaredOutputs = 2)
    {
        installation.configureFromDefaults(
            [=](TestEffectConfig& config)
            {
                config.numInputs = declaredInputs;
                config.numOutputs = declaredOutputs;
            });
        processor = std::make_unique<QuennetAudioProcessor>();
        ASSERT_NE(processor->getEffect(), nullptr);
        processor->setPlayHead(&playHead);
    }

    // Creates the processor on the stereo test effect, plays inputs to outputs, and processes one
    // block of ramps in bufferChannels channels with the MIDI in midi; returns the block as processed.
    juce::AudioBuffer<float> processRamps(int inputs, int outputs, int bufferChannels)
    {
        create();
        processor->setPlayConfigDetails(inputs, outputs, 44100.0, kFrames);
        auto buffer = rampBuffer(bufferChannels);
        processor->processBlock(buffer, midi);
        return buffer;
    }

    juce::AudioBuffer<float> rampBuffer(int channels)
    {
        juce::AudioBuffer<float> buffer(channels, kFrames);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < kFrames; ++i)
                buffer.setSample(c, i, ramp(c, i));
        return buffer;
    }

    const TestEffectProcessLog& seen() const { return installation.log().process; }
    uintptr_t address(juce::AudioBuffer<float>& buffer, int channel) const
    {
        return reinterpret_cast<uintptr_t>(buffer.getReadPointer(channel));
    }
};

TEST_F(Processing, ProcessorConfiguresTheChannelCountsTheAdapterSets)
{
    create();
    EXPECT_EQ(processor->getTotalNumInputChannels(), 0);
    EXPECT_EQ(processor->getTotalNumOutputChannels(), 0);
    for (auto [ins, outs] : {std::pair{1, 1}, std::pair{1, 2}, std::pair{2, 2}})
    {
        processor->setPlayConfigDetails(ins, outs, 44100.0, kFrames);
        EXPECT_EQ(processor->getTotalNumInputChannels(), ins);
        EXPECT_EQ(processor->getTotalNumOutputChannels(), outs);
    }
}

TEST_F(Processing, MonoHandsChannelZeroAsBothInputsAndBothOutputs)
{
    auto buffer = processRamps(1, 1, 1);

    ASSERT_EQ(seen().calls, 1);
    EXPECT_EQ(seen().frames, kFrames);
    for (uintptr_t pointer : {seen().inputs[0], seen().inputs[1], seen().outputs[0], seen().outputs[1]})
        EXPECT_EQ(pointer, address(buffer, 0));
    for (int i = 0; i < kTestEffectCapturedFrames; ++i)
    {
        EXPECT_EQ(seen().inputFrames[0][i], ramp(0, i));
        EXPECT_EQ(seen().inputFrames[1][i], ramp(0, i));
    }
    // Both outputs land in channel 0; the second written wins.
    for (int i = 0; i < kFrames; ++i)
        ASSERT_EQ(buffer.getSample(0, i), output1(ramp(0, i), ramp(0, i))) << "frame " << i;
}

TEST_F(Processing, OneInputTwoOutputsClearsChannelOneAndReadsChannelZeroTwice)
{
    auto buffer = processRamps(1, 2, 2); // channel 1 holds what the host left there

    EXPECT_EQ(seen().inputs[0], address(buffer, 0));
    EXPECT_EQ(seen().inputs[1], address(buffer, 0));
    EXPECT_EQ(seen().outputs[0], address(buffer, 0));
    EXPECT_EQ(seen().outputs[1], address(buffer, 1));
    for (int i = 0; i < kFrames; ++i)
    {
        const float in = ramp(0, i);
        ASSERT_EQ(buffer.getSample(0, i), output0(in, in)) << "frame " << i;
        ASSERT_EQ(buffer.getSample(1, i), output1(in, in)) << "frame " << i;
    }
}

TEST_F(Processing, StereoProcessesBothChannelsInPlace)
{
    auto buffer = processRamps(2, 2, 2);

    EXPECT_EQ(seen().inputs[0], address(buffer, 0));
    EXPECT_EQ(seen().inputs[1], address(buffer, 1));
    EXPECT_EQ(seen().outputs[0], address(buffer, 0));
    EXPECT_EQ(seen().outputs[1], address(buffer, 1));
    for (int i = 0; i < kFrames; ++i)
    {
        ASSERT_EQ(buffer.getSample(0, i), output0(ramp(0, i), ramp(1, i))) << "frame " << i;
        ASSERT_EQ(buffer.getSample(1, i), output1(ramp(0, i), ramp(1, i))) << "frame " << i;
    }
}

TEST_F(Processing, EffectDeclaringSixtyFourChannelsGetsFullArraysOfSilenceAndScratch)
{
    create(64, 64);
    processor->setPlayConfigDetails(2, 2, 44100.0, kFrames);
    processor->prepareToPlay(44100.0, kFrames);
    for (int round = 0; round < 2; ++round) // the second block must still read silence
    {
        auto buffer = rampBuffer(2);
        processor->processBlock(buffer, midi);

        ASSERT_EQ(seen().declaredInputs, 64);
        EXPECT_EQ(seen().inputs[0], address(buffer, 0));
        EXPECT_EQ(seen().inputs[1], address(buffer, 1));
        EXPECT_EQ(seen().outputs[0], address(buffer, 0));
        EXPECT_EQ(seen().outputs[1], address(buffer, 1));
        const std::set<uintptr_t> hostChannels{address(buffer, 0), address(buffer, 1)};
        for (int c = 2; c < 64; ++c)
        {
            EXPECT_EQ(hostChannels.count(seen().inputs[c]), 0u);
            EXPECT_EQ(hostChannels.count(seen().outputs[c]), 0u);
            EXPECT_NE(seen().inputs[c], seen().outputs[c]) << "scratch never feeds an input";
        }
        EXPECT_EQ(seen().extraInputPeak, 0.0f);
        for (int i = 0; i < kFrames; ++i)
        {
            ASSERT_EQ(buffer.getSample(0, i), output0(ramp(0, i), ramp(1, i)));
            ASSERT_EQ(buffer.getSample(1, i), output1(ramp(0, i), ramp(1, i)));
        }
    }
}

TEST_F(Processing, WideEffectKeepsTheMonoToStereoMappingForItsFirstTwoEntries)
{
    create(64, 64);
    processor->setPlayConfigDetails(1, 2, 44100.0, kFrames);
    processor->prepareToPlay(44100.0, kFrames);
    auto buffer = rampBuffer(2);
    processor->processBlock(buffer, midi);
    EXPECT_EQ(seen().inputs[0], address(buffer, 0));
    EXPECT_EQ(seen().inputs[1], address(buffer, 0));
    EXPECT_EQ(seen().outputs[1], address(buffer, 1));
    EXPECT_EQ(buffer.getSample(1, 5), output1(ramp(0, 5), ramp(0, 5)));
}

TEST_F(Processing, WideEffectHandlesBlocksLongerThanPrepared)
{
    create(8, 8);
    processor->setPlayConfigDetails(2, 2, 44100.0, 16);
    processor->prepareToPlay(44100.0, 16);
    juce::AudioBuffer<float> buffer(2, 4096);
    buffer.clear();
    processor->processBlock(buffer, midi);
    EXPECT_EQ(seen().frames, 4096);
    EXPECT_EQ(seen().extraInputPeak, 0.0f);
    EXPECT_EQ(buffer.getSample(0, 4095), kTestEffectOutput0Offset);
}

TEST_F(Processing, OnlyShortMidiMessagesReachTheEffectWithTheirOffsets)
{
    const uint8_t sysex[] = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
    midi.addEvent(sysex, sizeof(sysex), 2);
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, static_cast<juce::uint8>(100)), 17);
    processRamps(2, 2, 2);

    const TestEffectMidiLog& seenMidi = installation.log().midi;
    ASSERT_EQ(seenMidi.calls, 1);
    ASSERT_EQ(seenMidi.count, 1);
    EXPECT_EQ(seenMidi.badRecords, 0);
    EXPECT_EQ(seenMidi.deltaFrames[0], 17);
    EXPECT_EQ(seenMidi.data[0][0], 0x90);
    EXPECT_EQ(seenMidi.data[0][1], 60);
    EXPECT_EQ(seenMidi.data[0][2], 100);
    EXPECT_EQ(seenMidi.data[0][3], 0);
    // MIDI goes before the audio.
    const int events = findEffectCall(installation.log(), kTestCallDispatcher, effProcessEvents);
    EXPECT_LT(events, findEffectCall(installation.log(), kTestCallProcess, 0));
}

TEST_F(Processing, RecordsAreReusedFromBlockToBlock)
{
    for (int i = 0; i < 3; ++i)
        midi.addEvent(juce::MidiMessage::controllerEvent(2, 7, 10 + i), i);
    auto buffer = processRamps(2, 2, 2);
    EXPECT_EQ(installation.log().midi.count, 3);

    midi.clear();
    midi.addEvent(juce::MidiMessage::noteOff(3, 64), 9);
    processor->processBlock(buffer, midi);
    const TestEffectMidiLog& seenMidi = installation.log().midi;
    EXPECT_EQ(seenMidi.count, 1);
    EXPECT_EQ(seenMidi.deltaFrames[0], 9);
    EXPECT_EQ(seenMidi.data[0][0], 0x82);
    EXPECT_EQ(seenMidi.data[0][3], 0) << "every record is zeroed before it is filled";
}

TEST_F(Processing, AtMost65536EventsReachTheEffect)
{
    // Added from the end of the block backwards: MidiBuffer finds each insertion point from the start.
    for (int i = 0; i < 70000; ++i)
        midi.addEvent(juce::MidiMessage::noteOn(1, i % 128, static_cast<juce::uint8>(1 + i % 100)),
                      kFrames - 1 - i * kFrames / 70000);
    processRamps(2, 2, 2);

    const TestEffectMidiLog& seenMidi = installation.log().midi;
    EXPECT_EQ(seenMidi.count, 65536);
    EXPECT_EQ(seenMidi.badRecords, 0);
}

TEST_F(Processing, BlockWithoutMidiSendsNoEvents)
{
    auto buffer = processRamps(2, 2, 2);
    const uint8_t sysex[] = {0xF0, 0x01, 0x02, 0x03, 0xF7};
    midi.addEvent(sysex, sizeof(sysex), 0); // only a message that is dropped
    processor->processBlock(buffer, midi);
    EXPECT_EQ(findEffectCall(installation.log(), kTestCallDispatcher, effProcessEvents), -1);
    EXPECT_EQ(seen().calls, 2);
}

TEST_F(Processing, PrepareToPlayClampsTheRateAndHandsOverTheBlockSize)
{
    create();
    const std::pair<double, float> rates[] = {{8000.0, 44100.0f},
                                              {96000.0, 96000.0f},
                                              {250000.0, 44100.0f},
                                              {15000.0, 15000.0f},
                                              {200000.0, 200000.0f}};
    for (const auto& [rate, told] : rates)
    {
        processor->setPlayConfigDetails(2, 2, rate, 256);
        const int before = installation.log().count;
        processor->prepareToPlay(rate, 256);
        const TestEffectLog& log = installation.log();
        ASSERT_EQ(log.count, before + 4);
        EXPECT_EQ(log.calls[before].opcode, effMainsChanged);
        EXPECT_EQ(log.calls[before].value, 0);
        EXPECT_EQ(log.calls[before + 1].opcode, effSetSampleRate);
        EXPECT_EQ(log.calls[before + 1].opt, told) << "at " << rate << " Hz";
        EXPECT_EQ(log.calls[before + 2].opcode, effSetBlockSize);
        EXPECT_EQ(log.calls[before + 2].index, 256);
        EXPECT_EQ(log.calls[before + 2].value, 256);
        EXPECT_EQ(log.calls[before + 3].opcode, effMainsChanged);
        EXPECT_EQ(log.calls[before + 3].value, 1);
    }
}

TEST_F(Processing, BufferWithFewerChannelsThanConfiguredIsMappedWithinIt)
{
    auto buffer = processRamps(2, 2, 1);
    EXPECT_EQ(seen().inputs[1], address(buffer, 0));
    EXPECT_EQ(seen().outputs[1], address(buffer, 0));
}

} // namespace
