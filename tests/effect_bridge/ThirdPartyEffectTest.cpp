// Real VST 2 effects from Debian's packages, copied in as Ombrel.dll and run by the processor.

#include "effect_bridge/QuennetAudioProcessor.h"
#include "tests/effect_bridge/EffectInstallation.h"
#include "tests/effect_bridge/TestPlayHead.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

namespace
{

constexpr const char* kDualDelay = "/usr/lib/lxvst/iem.at/libDualDelay.so";
constexpr const char* kFreeverb = "/usr/lib/vst/MaFreeverb-vst.so";
constexpr const char* kLspCompensationDelay = "/usr/lib/vst/lsp-plugins/comp-delay-stereo.so";

constexpr double kSampleRate = 44100.0;
constexpr int kBlockSize = 512;

// A second of a 440 Hz tone on the left and 660 Hz on the right, in blocks: answers whether every
// output sample was finite and how far the output strayed from the input.
struct SecondOfAudio
{
    bool allFinite = true;
    double largestDifference = 0.0;
    double outputPeak = 0.0;
    double outputEnergy = 0.0;
};

SecondOfAudio processOneSecond(QuennetAudioProcessor& processor)
{
    SecondOfAudio result;
    juce::AudioBuffer<float> buffer(2, kBlockSize);
    juce::MidiBuffer midi;
    for (int start = 0; start < static_cast<int>(kSampleRate); start += kBlockSize)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kBlockSize; ++i)
                buffer.setSample(c, i,
                                 0.5f * static_cast<float>(std::sin(2.0 * juce::MathConstants<double>::pi *
                                                                    (c == 0 ? 440.0 : 660.0) * (start + i) /
                                                                    kSampleRate)));
        juce::AudioBuffer<float> input(buffer);
        processor.processBlock(buffer, midi);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kBlockSize; ++i)
            {
                const double out = buffer.getSample(c, i);
                result.allFinite = result.allFinite && std::isfinite(out);
                result.largestDifference =
                    std::max(result.largestDifference, std::fabs(out - input.getSample(c, i)));
                result.outputPeak = std::max(result.outputPeak, std::fabs(out));
                result.outputEnergy += out * out;
            }
    }
    return result;
}

void prepareStereo(QuennetAudioProcessor& processor, TestPlayHead& playHead)
{
    processor.setPlayHead(&playHead);
    processor.setPlayConfigDetails(2, 2, kSampleRate, kBlockSize);
    processor.prepareToPlay(kSampleRate, kBlockSize);
}

juce::MemoryBlock saveState(QuennetAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation(block);
    return block;
}

class ThirdPartyEffects : public ::testing::Test
{
protected:
    std::unique_ptr<EffectInstallation> installation;
    std::unique_ptr<QuennetAudioProcessor> opened;

    // Installs the effect at path (skipping the test where its package is not installed) and opens a
    // processor on it, which must load it quietly and find parameters. The test goes on only if
    // opened is set and nothing failed.
    void open(const char* path)
    {
        if (!std::filesystem::exists(path))
            GTEST_SKIP() << path << " is not installed";
        installation = std::make_unique<EffectInstallation>(path, EffectInstallation::kInstalledBundle,
                                                            EffectInstallation::Control::None);
        auto processor = std::make_unique<QuennetAudioProcessor>();
        ASSERT_NE(processor->getEffect(), nullptr);
        EXPECT_TRUE(EffectInstallation::messages().empty());
        ASSERT_GT(processor->getNumParameters(), 0);
        opened = std::move(processor);
    }
};

TEST_F(ThirdPartyEffects, IemDualDelayRunsWithItsOwnTextsAudioAndChunk)
{
    open(kDualDelay);
    if (opened == nullptr)
        return;
    juce::MemoryBlock saved;
    {
        QuennetAudioProcessor& processor = *opened;
        EXPECT_EQ(processor.getEffect()->numInputs, 64);
        EXPECT_EQ(processor.getEffect()->numOutputs, 64);

        for (int p = 0; p < processor.getNumParameters(); ++p)
        {
            EXPECT_FALSE(processor.getParameterName(p).fromFirstOccurrenceOf(": ", false, false).isEmpty());
            const float before = processor.getEffectParameter(p);
            const int changes = processor.buildParameterTextTable(p);
            EXPECT_GE(changes, 1) << processor.getParameterName(p);
            EXPECT_STRNE(processor.getParameterTexts().entry(p, 0), "---");
            EXPECT_STRNE(processor.getParameterTexts().entry(p, 100), "---");
            EXPECT_EQ(processor.getEffectParameter(p), before) << "the sweep puts the value back";
        }
        // The table holds the effect's own text: probing one value directly gives the same.
        processor.setEffectParameter(0, 0.5f);
        EXPECT_EQ(processor.getParameterText(0).substring(0, 16),
                  juce::String(processor.getParameterTexts().entry(0, 50)));

        TestPlayHead playHead;
        prepareStereo(processor, playHead);
        const SecondOfAudio audio = processOneSecond(processor);
        EXPECT_TRUE(audio.allFinite);
        EXPECT_GT(audio.largestDifference, 1.0e-3) << "the delay changes the signal";

        ASSERT_NE(processor.getEffect()->flags & effFlagsProgramChunks, 0);
        saved = saveState(processor);
        ASSERT_GT(saved.getSize(), 8u);
        const auto* bytes = static_cast<const uint8_t*>(saved.getData()) + saved.getSize() - 8;
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8),
                  (std::vector<uint8_t>{0, 0, 0x30, 0, 0, 0, 0x30, 0}));
    }
    opened.reset();
    QuennetAudioProcessor fresh;
    ASSERT_NE(fresh.getEffect(), nullptr);
    fresh.setStateInformation(saved.getData(), static_cast<int>(saved.getSize()));
    EXPECT_EQ(saveState(fresh), saved) << "restored and saved again byte for byte";
}

// The index of the effect's parameter with this name, or -1.
int parameterNamed(QuennetAudioProcessor& processor, const juce::String& name)
{
    for (int p = 0; p < processor.getNumParameters(); ++p)
        if (processor.getParameterName(p).fromFirstOccurrenceOf(": ", false, false) == name)
            return p;
    return -1;
}

TEST_F(ThirdPartyEffects, DpfBuiltMaFreeverbIsAliveOnceOpened)
{
    open(kFreeverb);
    if (opened == nullptr)
        return;
    QuennetAudioProcessor& processor = *opened;
    for (int p = 0; p < processor.getNumParameters(); ++p)
    {
        EXPECT_FALSE(processor.getParameterText(p).isEmpty()) << "its processing object shows its values";
        EXPECT_GT(processor.buildParameterTextTable(p), 1) << processor.getParameterName(p);
        EXPECT_STRNE(processor.getParameterTexts().entry(p, 0), processor.getParameterTexts().entry(p, 100));
    }

    // The reverb's feedback must change its tail: the same second of audio with little and with
    // much feedback comes out different.
    const int feedback = parameterNamed(processor, "fb1");
    ASSERT_GE(feedback, 0);
    TestPlayHead playHead;
    prepareStereo(processor, playHead);
    processor.setEffectParameter(feedback, 0.05f);
    const SecondOfAudio little = processOneSecond(processor);
    processor.setEffectParameter(feedback, 0.95f);
    const SecondOfAudio much = processOneSecond(processor);
    EXPECT_TRUE(little.allFinite);
    EXPECT_TRUE(much.allFinite);
    EXPECT_GT(little.largestDifference, 1.0e-3) << "the reverb changes the signal";
    EXPECT_GT(std::fabs(much.outputEnergy - little.outputEnergy), 0.01 * little.outputEnergy)
        << "the feedback changes the output";

    juce::MemoryBlock state = saveState(processor);
    processor.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
}

TEST_F(ThirdPartyEffects, LspEffectExportingOnlyVstPluginMainLoadsAndProcesses)
{
    open(kLspCompensationDelay);
    if (opened == nullptr)
        return;
    QuennetAudioProcessor& processor = *opened;

    // A delay of some samples makes the output differ from the input.
    const int samples = parameterNamed(processor, "samp");
    ASSERT_GE(samples, 0);
    processor.setEffectParameter(samples, 0.5f);
    EXPECT_NE(processor.getParameterText(samples), "0samp");
    TestPlayHead playHead;
    prepareStereo(processor, playHead);
    const SecondOfAudio audio = processOneSecond(processor);
    EXPECT_TRUE(audio.allFinite);
    EXPECT_GT(audio.outputPeak, 0.1) << "the signal comes through";
    EXPECT_GT(audio.largestDifference, 1.0e-3) << "delayed";
}

} // namespace
