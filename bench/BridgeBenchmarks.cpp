// The effect bridge's audio path: QuennetAudioProcessor::processBlock driving the bundled example
// delay, stereo, at three block lengths, with and without MIDI, and the light all-pass effect at four
// block lengths without MIDI, each against the baseline of the same effect's processReplacing called
// directly.

#include "bench/BenchPlayHead.h"
#include "bench/BenchmarkSuite.h"
#include "bench/DirectBaseline.h"
#include "bench/TestSignal.h"
#include "aax_adapter/MessageThread.h"
#include "effect_bridge/QuennetAudioProcessor.h"
#include "platform/PlatformCalls.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

constexpr int kChannels = 2;
constexpr int32_t kBlockLengths[] = {32, 256, 1024};
constexpr int32_t kLightBlockLengths[] = {32, 64, 256, 1024};
constexpr const char* kLightLabel = "light";
constexpr int kMidiEventCounts[] = {0, 64};
constexpr int kMidiChannel = 1;
constexpr int kFirstNote = 36;
constexpr int kNoteRange = 48;
constexpr float kNoteVelocity = 0.8f;

// The bundles the build lays out: the module's place, with the example delay beside it, and the
// light effect's own.
const std::string kBundleFolder = OMBREL_BUNDLE_DIR;
const std::string kLightBundleFolder = OMBREL_LIGHT_BUNDLE_DIR;
const std::string kModuleName = "/Ombrel.aaxplugin";
const std::string kEffectName = "/Ombrel.dll";

// The bundle the next processor loads its effect from.
std::string currentBundleFolder = kBundleFolder;

// The processor looks for its effect beside the module that holds the bridge. In this program the
// bridge is linked in, so the program answers for the module as if it lay in the current bundle.
uint32_t moduleFileInBundle(platform::ModuleHandle, char* fileName, uint32_t size)
{
    const int written = std::snprintf(fileName, size, "%s", (currentBundleFolder + kModuleName).c_str());
    return written < 0 ? 0 : static_cast<uint32_t>(std::strlen(fileName));
}

// events MIDI messages spread evenly over a block: alternately a note-on and the note-off of the
// note before, three bytes each, as a keyboard part or a drum pattern sends them.
juce::MidiBuffer midiBlock(int blockLength, int events)
{
    juce::MidiBuffer midi;
    for (int i = 0; i < events; ++i)
    {
        const int note = kFirstNote + (i / 2) % kNoteRange;
        const int position = i * blockLength / events;
        midi.addEvent(i % 2 == 0 ? juce::MidiMessage::noteOn(kMidiChannel, note, kNoteVelocity)
                                 : juce::MidiMessage::noteOff(kMidiChannel, note),
                      position);
    }
    return midi;
}

std::string bridgeName(int32_t blockLength, int midiEvents, const std::string& effectLabel = {})
{
    const std::string effect = effectLabel.empty() ? std::string() : effectLabel + "/";
    return "Bridge/" + effect + "block:" + std::to_string(blockLength) +
           "/midi:" + std::to_string(midiEvents);
}

void processThroughBridge(benchmark::State& state, const std::string& bundleFolder, int32_t blockLength,
                          int midiEvents)
{
    currentBundleFolder = bundleFolder;
    QuennetAudioProcessor processor;
    if (processor.getEffect() == nullptr)
    {
        state.SkipWithError("the processor loaded no effect from the bundle folder");
        return;
    }
    BenchPlayHead playHead(testsignal::kSampleRate);
    processor.setPlayHead(&playHead);
    processor.setPlayConfigDetails(kChannels, kChannels, testsignal::kSampleRate, blockLength);
    processor.prepareToPlay(testsignal::kSampleRate, blockLength);

    juce::AudioBuffer<float> source(kChannels, blockLength);
    juce::AudioBuffer<float> buffer(kChannels, blockLength);
    for (int c = 0; c < kChannels; ++c)
        testsignal::fill(source.getWritePointer(c), blockLength, c);
    juce::MidiBuffer midi = midiBlock(blockLength, midiEvents);
    const size_t channelBytes = static_cast<size_t>(blockLength) * sizeof(float);
    const auto refill = [&]
    {
        for (int c = 0; c < kChannels; ++c)
            std::memcpy(buffer.getWritePointer(c), source.getReadPointer(c), channelBytes);
    };

    // One untimed block: the first block at a size may allocate.
    refill();
    processor.processBlock(buffer, midi);
    playHead.advance(blockLength);
    if (std::memcmp(buffer.getReadPointer(0), source.getReadPointer(0), channelBytes) == 0)
    {
        processor.setPlayHead(nullptr);
        state.SkipWithError("the effect left its input unchanged");
        return;
    }

    for (auto _ : state)
    {
        refill();
        processor.processBlock(buffer, midi);
        playHead.advance(blockLength);
    }
    processor.setPlayHead(nullptr);
    BenchmarkSuite::countSamples(state, blockLength);
}

void registerBenchmarks()
{
    for (const int32_t blockLength : kBlockLengths)
    {
        const std::string baseline = directBaselineName(1, blockLength);
        BenchmarkSuite::add(baseline, [blockLength](benchmark::State& state)
                            { processEffectsDirectly(state, kBundleFolder + kEffectName, 1, blockLength); });
        for (const int midiEvents : kMidiEventCounts)
            BenchmarkSuite::add(
                bridgeName(blockLength, midiEvents),
                [blockLength, midiEvents](benchmark::State& state)
                { processThroughBridge(state, kBundleFolder, blockLength, midiEvents); },
                baseline);
    }
    for (const int32_t blockLength : kLightBlockLengths)
    {
        const std::string baseline = directBaselineName(1, blockLength, kLightLabel);
        BenchmarkSuite::add(
            baseline, [blockLength](benchmark::State& state)
            { processEffectsDirectly(state, kLightBundleFolder + kEffectName, 1, blockLength); });
        BenchmarkSuite::add(
            bridgeName(blockLength, 0, kLightLabel),
            [blockLength](benchmark::State& state)
            { processThroughBridge(state, kLightBundleFolder, blockLength, 0); },
            baseline);
    }
}

} // namespace

int main(int argc, char** argv)
{
    platform::calls().getModuleFileName = moduleFileInBundle;
    // The processor's timer runs on a message thread, as it does inside the module.
    MessageThread messageThread;
    messageThread.start();
    registerBenchmarks();
    const int status = BenchmarkSuite::run(argc, argv);
    messageThread.stop();
    return status;
}
