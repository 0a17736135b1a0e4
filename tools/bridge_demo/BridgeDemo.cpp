// Loads the effect beside this program through a QuennetAudioProcessor, as the plug-in module does,
// and prints what the effect answered: its names, parameters with their texts, programs, latency,
// and the peak of a short processed signal.

#include "effect_bridge/QuennetAudioProcessor.h"

#include <cmath>
#include <cstdio>

namespace
{

constexpr double kSampleRate = 44100.0;
constexpr int kBlockSize = 512;
constexpr int kBlocks = 87; // about one second
constexpr size_t kTextSize = QuennetAudioProcessor::kEffectTextSize;

juce::String effectString(AEffect& effect, int32_t opcode)
{
    char text[kTextSize] = {};
    effect.dispatcher(&effect, opcode, 0, 0, text, 0.0f);
    text[kTextSize - 1] = '\0';
    return juce::String::fromUTF8(text);
}

void printParameters(QuennetAudioProcessor& processor)
{
    const int count = processor.getNumParameters();
    std::printf("parameters: %d\n", count);
    char label[kTextSize];
    for (int p = 0; p < count; ++p)
    {
        processor.getEffectParameterLabel(p, label);
        const juce::String name = processor.getParameterName(p);
        const juce::String text = processor.getParameterText(p);
        const float value = processor.getParameter(p);
        const int changes = processor.buildParameterTextTable(p);
        std::printf("  %-24s value %.3f  text \"%s\" %s  (%d texts over 0..1: \"%s\" .. \"%s\" .. \"%s\")\n",
                    name.toRawUTF8(), static_cast<double>(value), text.toRawUTF8(), label, changes,
                    processor.getParameterTexts().entry(p, 0), processor.getParameterTexts().entry(p, 50),
                    processor.getParameterTexts().entry(p, 100));
    }
}

void printPrograms(QuennetAudioProcessor& processor)
{
    const int count = processor.getNumPrograms();
    const int current = processor.getCurrentProgram();
    std::printf("programs: %d (current %d)\n", count, current);
    for (int program = 0; program < count; ++program)
    {
        processor.setCurrentProgram(program);
        std::printf("  %d: %s\n", program, processor.getProgramName(program).toRawUTF8());
    }
    processor.setCurrentProgram(current);
}

void printProcessedPeak(QuennetAudioProcessor& processor)
{
    processor.setPlayConfigDetails(2, 2, kSampleRate, kBlockSize);
    processor.prepareToPlay(kSampleRate, kBlockSize);
    juce::AudioBuffer<float> buffer(2, kBlockSize);
    juce::MidiBuffer midi;
    float inputPeak = 0.0f;
    float outputPeak[2] = {0.0f, 0.0f};
    int lastLoudSample = -1;
    for (int block = 0; block < kBlocks; ++block)
    {
        // A short 1 kHz burst at the start, then silence: what comes out later is the effect's own.
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kBlockSize; ++i)
            {
                const int n = block * kBlockSize + i;
                const float in =
                    n < 441 ? 0.5f * static_cast<float>(std::sin(2.0 * M_PI * 1000.0 * n / kSampleRate))
                            : 0.0f;
                buffer.setSample(c, i, in);
                inputPeak = std::max(inputPeak, std::fabs(in));
            }
        processor.processBlock(buffer, midi);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < kBlockSize; ++i)
            {
                const float out = std::fabs(buffer.getSample(c, i));
                outputPeak[c] = std::max(outputPeak[c], out);
                if (out > 0.01f)
                    lastLoudSample = block * kBlockSize + i;
            }
    }
    std::printf(
        "processed %d samples at %.0f Hz: input peak %.3f, output peak L %.3f R %.3f, output above -40 dB "
        "until %.1f ms\n",
        kBlocks * kBlockSize, kSampleRate, static_cast<double>(inputPeak), static_cast<double>(outputPeak[0]),
        static_cast<double>(outputPeak[1]), lastLoudSample < 0 ? 0.0 : lastLoudSample * 1000.0 / kSampleRate);
}

} // namespace

int main()
{
    int result = 0;
    {
        QuennetAudioProcessor processor;
        if (processor.getEffect() == nullptr)
        {
            std::printf("no effect loaded: Ombrel.dll must lie beside this program\n");
            result = 1;
        }
        else
        {
            AEffect& effect = *processor.getEffect();
            std::printf("processor: %s\n", processor.getName().toRawUTF8());
            std::printf("effect: %s (vendor \"%s\", product \"%s\", unique id %08X, version %d)\n",
                        effectString(effect, effGetEffectName).toRawUTF8(),
                        effectString(effect, effGetVendorString).toRawUTF8(),
                        effectString(effect, effGetProductString).toRawUTF8(),
                        static_cast<unsigned>(effect.uniqueID), effect.version);
            std::printf("channels declared: %d in, %d out; chunks: %s; editor: %s\n", effect.numInputs,
                        effect.numOutputs, (effect.flags & effFlagsProgramChunks) != 0 ? "yes" : "no",
                        (effect.flags & effFlagsHasEditor) != 0 ? "yes" : "no");
            std::printf("latency: %d samples\n", processor.getLatencySamples());
            printParameters(processor);
            printPrograms(processor);
            printProcessedPeak(processor);
            juce::MemoryBlock state;
            processor.getStateInformation(state);
            std::printf("saved state: %zu bytes\n", state.getSize());
        }
    }
    // JUCE's timer thread stops before the program's statics go.
    juce::DeletedAtShutdown::deleteAll();
    return result;
}
