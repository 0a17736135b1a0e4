// The audio path allocates nothing after the first block at a given size, nor when the block length
// changes: counted by the host kit's allocation counter, which replaces operator new (and, outside
// sanitizer builds, malloc and its relatives) in this test program.

#include "effect_bridge/QuennetAudioProcessor.h"
#include "tests/effect_bridge/EffectInstallation.h"
#include "tests/effect_bridge/TestPlayHead.h"
#include "host_kit/AllocationCounter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

using testhost::AllocationCountingWindow;

namespace
{

constexpr int kBlockSize = 512;
constexpr int kMidiEvents = 1000;

// A wide effect: the processor also hands it its silent and scratch channels.
void declareSixtyFourChannels(const EffectInstallation& installation)
{
    installation.configureFromDefaults(
        [](TestEffectConfig& config)
        {
            config.numInputs = 64;
            config.numOutputs = 64;
        });
}

// Runs one warm-up block, then counts the allocations of 64 more, half of them with MIDI.
int allocationsAfterTheFirstBlock(QuennetAudioProcessor& processor, int inputs, int outputs)
{
    TestPlayHead playHead;
    playHead.playing = true;
    playHead.ppqPosition = 1.0;
    processor.setPlayHead(&playHead);
    processor.setPlayConfigDetails(inputs, outputs, 48000.0, kBlockSize);
    processor.prepareToPlay(48000.0, kBlockSize);

    juce::AudioBuffer<float> buffer(std::max(inputs, outputs), kBlockSize);
    buffer.clear();
    juce::MidiBuffer withEvents;
    for (int i = kMidiEvents - 1; i >= 0; --i)
        withEvents.addEvent(juce::MidiMessage::noteOn(1 + i % 16, i % 128, 0.5f),
                            i * kBlockSize / kMidiEvents);
    const uint8_t sysex[] = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7};
    withEvents.addEvent(sysex, sizeof(sysex), 3);
    juce::MidiBuffer empty;

    processor.processBlock(buffer, withEvents);
    long allocations = 0;
    {
        const AllocationCountingWindow window;
        for (int block = 0; block < 64; ++block)
        {
            playHead.ppqPosition += 0.25;
            playHead.playing = block % 8 != 0;
            processor.processBlock(buffer, block % 2 == 0 ? withEvents : empty);
        }
        allocations = window.count().allocations;
    }
    processor.setPlayHead(nullptr);
    return static_cast<int>(allocations);
}

// Blocks with a thousand MIDI events each second block, through one effect at one channel layout.
struct AudioPathCase
{
    const char* name;
    bool withEffect;
    bool sixtyFourChannels;
    int inputs;
    int outputs;
};

class AudioPathBlocks : public ::testing::TestWithParam<AudioPathCase>
{
};

TEST_P(AudioPathBlocks, AllocateNothingAfterTheFirst)
{
    const AudioPathCase& blocks = GetParam();
    EffectInstallation installation(blocks.withEffect ? testEffectPath() : "");
    if (blocks.sixtyFourChannels)
        declareSixtyFourChannels(installation);
    QuennetAudioProcessor processor;
    ASSERT_EQ(processor.getEffect() != nullptr, blocks.withEffect);
    EXPECT_EQ(allocationsAfterTheFirstBlock(processor, blocks.inputs, blocks.outputs), 0);
    if (!blocks.withEffect)
        return;
    EXPECT_EQ(installation.log().midi.calls, 33) << "the warm-up block and every second block";
    EXPECT_EQ(installation.log().midi.count, kMidiEvents) << "without the system-exclusive message";
    EXPECT_EQ(installation.log().process.declaredOutputs, blocks.sixtyFourChannels ? 64 : 2);
}

INSTANTIATE_TEST_SUITE_P(AudioPath, AudioPathBlocks,
                         ::testing::Values(AudioPathCase{"StereoWithAThousandMidiEvents", true, false, 2, 2},
                                           AudioPathCase{"MonoToStereo", true, false, 1, 2},
                                           AudioPathCase{"EffectDeclaringSixtyFourChannels", true, true, 2,
                                                         2},
                                           AudioPathCase{"WithoutAnEffect", false, false, 2, 2}),
                         [](const ::testing::TestParamInfo<AudioPathCase>& info)
                         { return std::string(info.param.name); });

TEST(AudioPath, ABlockLengthChangeOnTheAudioThreadAllocatesNothing)
{
    // The wide effect also uses the processor's silent and scratch channels, which follow the length.
    EffectInstallation installation(testEffectPath());
    declareSixtyFourChannels(installation);
    QuennetAudioProcessor processor;
    processor.setPlayConfigDetails(2, 2, 48000.0, kBlockSize);
    processor.prepareToPlay(48000.0, kBlockSize);
    juce::AudioBuffer<float> buffer(2, 8192);
    buffer.clear();
    juce::MidiBuffer midi;
    {
        const AllocationCountingWindow window;
        for (const int length : {1024, 64, 4096, 8192, 100})
        {
            // What the adapter does when the host's block length changes.
            processor.setRateAndBufferSizeDetails(48000.0, length);
            processor.prepareToPlay(48000.0, length);
            juce::AudioBuffer<float> block(buffer.getArrayOfWritePointers(), 2, length);
            processor.processBlock(block, midi);
        }
        EXPECT_EQ(0, window.count().allocations);
    }
    EXPECT_EQ(100, installation.log().process.frames);
}

TEST(AudioPath, TheCounterSeesAllocations)
{
    int* probe = nullptr;
    {
        const AllocationCountingWindow window;
        probe = new int(3);
        EXPECT_EQ(1, window.count().allocations);
    }
    delete probe;
}

} // namespace
