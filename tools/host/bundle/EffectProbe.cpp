#include "tools/host/bundle/EffectProbe.h"

#include "effect_bridge/EffectLibraryLoading.h"
#include "effect_bridge/HostCallback.h"
#include "platform/PlatformCalls.h"
#include "tools/host/validate/ChildProcess.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <vector>

namespace ombrelhost
{

namespace
{

// Effects write at most 64 bytes for these texts; the rest of the buffer stays zero whatever they do.
constexpr size_t kTextBufferSize = 256;
// What the effect is told before it starts running: a common studio rate and a common block.
constexpr float kProbeSampleRate = 48000.0f;
constexpr int32_t kProbeBlockSize = 512;
constexpr int kProbeBlocks = 4;
// Long enough for an effect that prepares large tables when it starts.
constexpr std::chrono::seconds kProbeTimeLimit{60};
// How the program starts the one-line reason it prints when it fails.
constexpr const char* kProgramPrefix = "ombrel-host: ";

std::string Text(AEffect& effect, int32_t opcode)
{
    char text[kTextBufferSize] = {};
    effect.dispatcher(&effect, opcode, 0, 0, text, 0.0f);
    text[kTextBufferSize - 1] = '\0';
    return juce::String::fromUTF8(text).trim().toStdString();
}

// Many effects set their latency only once they process (a look-ahead sized on the first blocks),
// so a few blocks of silence run first.
int32_t LatencyOnceRunning(AEffect& effect)
{
    if (effect.processReplacing != nullptr && effect.numInputs >= 0 && effect.numOutputs >= 0)
    {
        const size_t channels = static_cast<size_t>(std::max({effect.numInputs, effect.numOutputs, 1}));
        std::vector<std::vector<float>> buffers(2 * channels, std::vector<float>(kProbeBlockSize, 0.0f));
        std::vector<float*> inputs, outputs;
        for (size_t c = 0; c < channels; ++c)
        {
            inputs.push_back(buffers[c].data());
            outputs.push_back(buffers[channels + c].data());
        }
        effect.dispatcher(&effect, effStartProcess, 0, 0, nullptr, 0.0f);
        for (int block = 0; block < kProbeBlocks; ++block)
            effect.processReplacing(&effect, inputs.data(), outputs.data(), kProbeBlockSize);
        effect.dispatcher(&effect, effStopProcess, 0, 0, nullptr, 0.0f);
    }
    return effect.initialDelay;
}

std::string ReadWhole(const std::string& path)
{
    return juce::File(juce::String::fromUTF8(path.c_str())).loadFileAsString().toStdString();
}

#ifdef _WIN32
constexpr char kLibraryMagic[] = "MZ";
#else
constexpr char kLibraryMagic[] = "\x7f"
                                 "ELF";
#endif

} // namespace

bool IsLibraryOfThisSystem(const std::string& libraryPath)
{
    constexpr size_t kMagicSize = sizeof kLibraryMagic - 1;
    char start[kMagicSize] = {};
    std::ifstream file(libraryPath, std::ios::binary);
    return file.read(start, kMagicSize) && std::string(start, kMagicSize) == kLibraryMagic;
}

bool ReadEffectFacts(const std::string& libraryPath, EffectFacts& facts, std::string& error)
{
    platform::ModuleHandle library = platform::LoadLibraryA(libraryPath.c_str());
    if (library == nullptr)
    {
        error = libraryPath + " cannot be loaded as a library on this system (error " +
                std::to_string(platform::GetLastError()) + ")";
        return false;
    }
    const VstPluginEntry entry = findEffectEntry(library);
    AEffect* effect = entry != nullptr ? entry(&hostCallback) : nullptr;
    if (effect == nullptr || effect->magic != kEffectMagic)
    {
        error = libraryPath + (entry == nullptr ? " exports no VST 2 entry (main, Main or VSTPluginMain)"
                                                : " gave no VST 2 effect from its entry");
        platform::FreeLibrary(library);
        return false;
    }
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, kProbeSampleRate);
    effect->dispatcher(effect, effSetBlockSize, 0, kProbeBlockSize, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    facts.name = Text(*effect, effGetEffectName);
    if (facts.name.empty())
        facts.name = Text(*effect, effGetProductString);
    facts.vendor = Text(*effect, effGetVendorString);
    facts.uniqueId = effect->uniqueID;
    facts.inputs = effect->numInputs;
    facts.outputs = effect->numOutputs;
    facts.latency = LatencyOnceRunning(*effect);
    facts.category =
        static_cast<int32_t>(effect->dispatcher(effect, effGetPlugCategory, 0, 0, nullptr, 0.0f));
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    platform::FreeLibrary(library);
    return true;
}

bool ProbeEffect(const std::string& programPath, const std::string& libraryPath, EffectFacts& facts,
                 std::string& error)
{
    const juce::TemporaryFile answers(".json");
    const juce::TemporaryFile output(".txt");
    const std::string answersPath = answers.getFile().getFullPathName().toStdString();
    const std::vector<std::string> argv = {
        programPath, "bundle", libraryPath, "--out", ".", std::string("--") + kProbeIntoOption, answersPath};
    const ChildOutcome outcome =
        RunChildProcess(argv, output.getFile().getFullPathName().toStdString(), kProbeTimeLimit);
    const std::string what = "the effect " + libraryPath;
    if (!outcome.started)
        error = "could not ask " + what + " about itself: " + outcome.startError;
    else if (outcome.timedOut)
        error = what + " did not answer within " + std::to_string(kProbeTimeLimit.count()) +
                " s while it was asked about itself";
    else if (outcome.signal != 0)
        error = what + " crashed (" + outcome.signalName + ") while it was asked about itself";
    else if (outcome.exitCode != 0)
    {
        // The child's own one-line reason, without its program prefix.
        const juce::String childOutput(ReadWhole(output.getFile().getFullPathName().toStdString()));
        if (childOutput.contains(kProgramPrefix))
            error = childOutput.fromLastOccurrenceOf(kProgramPrefix, false, false)
                        .upToFirstOccurrenceOf("\n", false, false)
                        .toStdString();
        else
            error = what + " ended with exit status " + std::to_string(outcome.exitCode) +
                    " while it was asked about itself";
    }
    else
        return EffectFacts::FromJson(ReadWhole(answersPath), facts, error);
    return false;
}

} // namespace ombrelhost
