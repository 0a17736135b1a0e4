// Loading, configuring and tearing down the effect, with test effects loaded from disk.

#include "effect_bridge/QuennetAudioProcessor.h"
#include "tests/effect_bridge/EffectInstallation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace
{

// Records of the system calls the loader made, for the tests that replace some of them.
struct CallRecord
{
    std::vector<std::string> dllDirectories;
    std::vector<std::string> loadedPaths;
    int freed = 0;
    int logCountWhenFreed = -1;
    const TestEffectLog* log = nullptr;
};
CallRecord calls;
uint32_t fixedError = 0;

bool recordSetDllDirectory(const char* path)
{
    calls.dllDirectories.emplace_back(path != nullptr ? path : "<null>");
    return platform::systemCalls().setDllDirectory(path);
}

platform::ModuleHandle recordLoadLibrary(const char* path)
{
    calls.loadedPaths.emplace_back(path != nullptr ? path : "<null>");
    return platform::systemCalls().loadLibrary(path);
}

bool recordFreeLibrary(platform::ModuleHandle module)
{
    ++calls.freed;
    if (calls.log != nullptr)
        calls.logCountWhenFreed = calls.log->count;
    return platform::systemCalls().freeLibrary(module);
}

bool failGetModuleHandle(uint32_t, const void*, platform::ModuleHandle*)
{
    return false;
}

bool failSetDllDirectory(const char* path)
{
    platform::systemCalls().setDllDirectory(path);
    return false;
}

platform::ModuleHandle failLoadLibrary(const char* path)
{
    calls.loadedPaths.emplace_back(path != nullptr ? path : "<null>");
    return nullptr;
}

uint32_t fixedLastError()
{
    return fixedError;
}

class EffectLoader : public ::testing::Test
{
protected:
    void SetUp() override { calls = CallRecord{}; }
};

TEST_F(EffectLoader, LoadsAnEffectThatExportsMainAndRegistersItself)
{
    EffectInstallation installation(testEffectPath());
    QuennetAudioProcessor processor;

    ASSERT_NE(processor.getEffect(), nullptr);
    EXPECT_TRUE(processor.isEffectReady());
    EXPECT_EQ(processor.getEffect()->resvd1, reinterpret_cast<intptr_t>(&processor));
    EXPECT_TRUE(EffectInstallation::messages().empty());
    EXPECT_EQ(processor.getName(), "Ombrel");
    EXPECT_EQ(installation.log().liveInstances, 1);
    EXPECT_EQ(findEffectCall(installation.log(), kTestCallEntry, 0), 0);
}

TEST_F(EffectLoader, LoadsAnEffectThatExportsOnlyCapitalMain)
{
    EffectInstallation installation(testEffectMainOnlyPath());
    QuennetAudioProcessor processor;

    ASSERT_NE(processor.getEffect(), nullptr);
    EXPECT_TRUE(EffectInstallation::messages().empty());
}

// Where the module is installed decides the search folder set for the load and the name loaded.
struct InstalledLocation
{
    const char* name;
    const char* bundle;
    const char* searchFolderBelowRoot; // null: the empty search folder
    const char* loadedName;            // null: the library's full path
};

void PrintTo(const InstalledLocation& location, std::ostream* stream)
{
    *stream << location.bundle;
}

class EffectLoaderInstalledAt : public EffectLoader, public ::testing::WithParamInterface<InstalledLocation>
{
};

TEST_P(EffectLoaderInstalledAt, SetsTheSearchFolderForTheLoadThenBackToNone)
{
    const InstalledLocation& location = GetParam();
    EffectInstallation installation(testEffectPath(), location.bundle);
    platform::calls().setDllDirectory = recordSetDllDirectory;
    platform::calls().loadLibrary = recordLoadLibrary;
    QuennetAudioProcessor processor;

    ASSERT_NE(processor.getEffect(), nullptr);
    const std::string searchFolder =
        location.searchFolderBelowRoot != nullptr ? installation.root() + location.searchFolderBelowRoot : "";
    EXPECT_EQ(calls.dllDirectories, (std::vector<std::string>{searchFolder, "<null>"}));
    EXPECT_EQ(calls.loadedPaths,
              std::vector<std::string>{location.loadedName != nullptr ? std::string(location.loadedName)
                                                                      : installation.effectFile()});
}

INSTANTIATE_TEST_SUITE_P(Folders, EffectLoaderInstalledAt,
                         ::testing::Values(
                             // Relative to the first plug-ins folder above the module.
                             InstalledLocation{"UnderPlugIns", "Plug-Ins/Ombrel.aaxplugin/Contents/x64",
                                               "/Plug-Ins", "Ombrel.aaxplugin/Contents/x64/Ombrel.dll"},
                             // Outside one: the full path, with an empty search folder.
                             InstalledLocation{"OutsidePlugIns", "Audio/Ombrel.aaxplugin/Contents/x64",
                                               nullptr, nullptr}),
                         [](const ::testing::TestParamInfo<InstalledLocation>& info)
                         { return std::string(info.param.name); });

TEST_F(EffectLoader, LibraryWithNoneOfTheEntryNamesGivesTheCoreLibMessageAndIsFreedAtDestruction)
{
    EffectInstallation installation(testEffectNoEntryPath());
    platform::calls().freeLibrary = recordFreeLibrary;
    {
        QuennetAudioProcessor processor;
        EXPECT_EQ(processor.getEffect(), nullptr);
        EXPECT_FALSE(processor.isEffectReady());
        EXPECT_EQ(EffectInstallation::messages(),
                  std::vector<std::string>{"Plug-in core lib failed to load."});
        EXPECT_EQ(calls.freed, 0) << "the library stays loaded until destruction";
    }
    EXPECT_EQ(calls.freed, 1);
}

TEST_F(EffectLoader, EntryReturningNullGivesTheCoreLibMessage)
{
    EffectInstallation installation(testEffectPath());
    installation.configureFromDefaults([](TestEffectConfig& config) { config.entryReturnsNull = 1; });
    platform::calls().freeLibrary = recordFreeLibrary;
    {
        QuennetAudioProcessor processor;
        EXPECT_EQ(processor.getEffect(), nullptr);
        EXPECT_EQ(EffectInstallation::messages(),
                  std::vector<std::string>{"Plug-in core lib failed to load."});
    }
    EXPECT_EQ(calls.freed, 1);
    EXPECT_EQ(installation.log().count, 1) << "the entry once, nothing else";
}

TEST_F(EffectLoader, MissingLibraryGivesCantLoadWithTheBareFileName)
{
    EffectInstallation installation("");
    platform::calls().freeLibrary = recordFreeLibrary;
    {
        QuennetAudioProcessor processor;
        EXPECT_EQ(processor.getEffect(), nullptr);
        ASSERT_EQ(EffectInstallation::messages().size(), 1u);
        EXPECT_EQ(EffectInstallation::messages()[0].rfind("Cant Load Ombrel.dll code=", 0), 0u)
            << EffectInstallation::messages()[0];
        EXPECT_NE(EffectInstallation::messages()[0], "Cant Load Ombrel.dll code=0");
    }
    EXPECT_EQ(calls.freed, 0) << "nothing was loaded, so nothing is freed";
}

// A system call of the loader failing with a last-error code: its message, and whether loading goes on.
struct FailingSystemCall
{
    const char* name;
    uint32_t lastError;
    void (*replace)(platform::PlatformCalls& calls);
    bool effectLoads;
    std::vector<std::string> messages;
    const char* onlyLoadedPath; // null: not looked at
};

void PrintTo(const FailingSystemCall& failing, std::ostream* stream)
{
    *stream << failing.name;
}

class EffectLoaderWithAFailingCall : public EffectLoader,
                                     public ::testing::WithParamInterface<FailingSystemCall>
{
};

TEST_P(EffectLoaderWithAFailingCall, ShowsTheMessageWithTheLastErrorCode)
{
    const FailingSystemCall& failing = GetParam();
    EffectInstallation installation(testEffectPath());
    fixedError = failing.lastError;
    failing.replace(platform::calls());
    platform::calls().getLastError = fixedLastError;
    QuennetAudioProcessor processor;

    EXPECT_EQ(processor.getEffect() != nullptr, failing.effectLoads);
    EXPECT_EQ(EffectInstallation::messages(), failing.messages);
    if (failing.onlyLoadedPath != nullptr)
    {
        EXPECT_EQ(calls.loadedPaths, std::vector<std::string>{failing.onlyLoadedPath});
    }
}

INSTANTIATE_TEST_SUITE_P(
    LoaderCalls, EffectLoaderWithAFailingCall,
    ::testing::Values(FailingSystemCall{"LoadLibrary",
                                        126,
                                        [](platform::PlatformCalls& c) { c.loadLibrary = failLoadLibrary; },
                                        false,
                                        {"Cant Load Ombrel.dll code=126"},
                                        nullptr},
                      // The module's own path unknown, the effect is looked for under an empty path.
                      FailingSystemCall{"GetModuleHandleEx",
                                        87,
                                        [](platform::PlatformCalls& c)
                                        {
                                            c.getModuleHandleEx = failGetModuleHandle;
                                            c.loadLibrary = failLoadLibrary;
                                        },
                                        false,
                                        {"Get module failed err=87", "Cant Load Ombrel.dll code=87"},
                                        ""},
                      FailingSystemCall{"SetDllDirectory",
                                        5,
                                        [](platform::PlatformCalls& c)
                                        { c.setDllDirectory = failSetDllDirectory; },
                                        true,
                                        {"SetDllDirectory failed err=5"},
                                        nullptr}),
    [](const ::testing::TestParamInfo<FailingSystemCall>& info) { return std::string(info.param.name); });

TEST_F(EffectLoader, TheProcessSearchPathIsLeftAsTheLoaderFoundIt)
{
    EffectInstallation installation(testEffectPath(), "Plug-Ins/Ombrel.aaxplugin/Contents/x64");
    const std::string hostDirectory = installation.root() + "/host-libraries";
    for (const char* before : {hostDirectory.c_str(), static_cast<const char*>(nullptr)})
    {
        ASSERT_TRUE(platform::SetDllDirectoryA(before));
        {
            QuennetAudioProcessor processor;
            ASSERT_NE(processor.getEffect(), nullptr);
        }
        char after[1024] = {};
        const uint32_t length = platform::GetDllDirectoryA(sizeof(after), after);
        EXPECT_STREQ(before != nullptr ? before : "", after);
        EXPECT_EQ(std::strlen(after), length);
    }
    // A buffer too small gets the size it needs.
    ASSERT_TRUE(platform::SetDllDirectoryA("/a/b"));
    char tooSmall[2] = {'x', 'x'};
    EXPECT_EQ(5u, platform::GetDllDirectoryA(sizeof(tooSmall), tooSmall));
    ASSERT_TRUE(platform::SetDllDirectoryA(nullptr));
}

TEST_F(EffectLoader, FirstDispatcherCallsOpenTheEffectThenConfigureIt)
{
    EffectInstallation installation(testEffectPath());
    QuennetAudioProcessor processor;
    const TestEffectLog& log = installation.log();

    const std::vector<int32_t> opcodes = dispatcherOpcodes(log);
    ASSERT_EQ(opcodes.size(), 5u);
    EXPECT_EQ(opcodes, (std::vector<int32_t>{effOpen, effMainsChanged, effSetSampleRate, effSetBlockSize,
                                             effMainsChanged}));
    const TestEffectCall* dispatched[5];
    for (int i = 0, found = 0; i < log.count; ++i)
        if (log.calls[i].kind == kTestCallDispatcher)
            dispatched[found++] = &log.calls[i];
    EXPECT_EQ(dispatched[1]->index, 0);
    EXPECT_EQ(dispatched[1]->value, 0);
    EXPECT_FLOAT_EQ(dispatched[2]->opt, 44100.0f);
    // The processor has no block size yet; the effect is told the host's default instead of 0.
    EXPECT_EQ(dispatched[3]->index, 1024);
    EXPECT_EQ(dispatched[3]->value, 1024);
    EXPECT_EQ(dispatched[4]->index, 1);
    EXPECT_EQ(dispatched[4]->value, 1);
    // Opened with the processor already registered, so its questions get the processor's answers.
    EXPECT_EQ(log.blockSizeOnOpen, 1024);
    EXPECT_EQ(log.sampleRateOnOpen, 44100);
}

TEST_F(EffectLoader, LoadsAnEffectThatExportsOnlyTheStandardEntryName)
{
    EffectInstallation installation(testEffectVstPluginMainOnlyPath());
    QuennetAudioProcessor processor;

    ASSERT_NE(processor.getEffect(), nullptr);
    EXPECT_TRUE(EffectInstallation::messages().empty());
    const std::vector<int32_t> opcodes = dispatcherOpcodes(installation.log());
    EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), effOpen), 1);
}

// The latency a processor reports for a test effect declaring this initial delay.
int latencyForInitialDelay(int32_t initialDelay)
{
    EffectInstallation installation(testEffectPath());
    installation.configureFromDefaults([=](TestEffectConfig& config) { config.initialDelay = initialDelay; });
    return QuennetAudioProcessor().getLatencySamples();
}

TEST_F(EffectLoader, LatencyComesFromTheEffectsInitialDelay)
{
    EXPECT_EQ(latencyForInitialDelay(256), 256);
    EffectInstallation installation(testEffectPath());
    EXPECT_EQ(QuennetAudioProcessor().getLatencySamples(), 0) << "an effect left at its defaults";
}

TEST_F(EffectLoader, NegativeInitialDelayIsReportedAsNoLatency)
{
    EXPECT_EQ(latencyForInitialDelay(-64), 0);
}

TEST_F(EffectLoader, TeardownSuspendsClosesAndThenFreesTheLibrary)
{
    EffectInstallation installation(testEffectPath());
    const TestEffectLog& log = installation.log();
    calls.log = &log;
    platform::calls().freeLibrary = recordFreeLibrary;
    int countBeforeDestruction = 0;
    {
        QuennetAudioProcessor processor;
        countBeforeDestruction = log.count;
    }
    ASSERT_EQ(log.count, countBeforeDestruction + 2);
    EXPECT_EQ(log.calls[countBeforeDestruction].opcode, effMainsChanged);
    EXPECT_EQ(log.calls[countBeforeDestruction].value, 0);
    EXPECT_EQ(log.calls[countBeforeDestruction + 1].opcode, effClose);
    EXPECT_EQ(calls.freed, 1);
    EXPECT_EQ(calls.logCountWhenFreed, log.count) << "the library is freed after effClose";
    EXPECT_EQ(log.liveInstances, 0);
}

TEST_F(EffectLoader, CallsFromInsideTheEntryGetTheNoProcessorAnswers)
{
    EffectInstallation installation(testEffectPath());
    installation.configureFromDefaults([](TestEffectConfig& config) { config.callsHostFromEntry = 1; });
    QuennetAudioProcessor processor;
    ASSERT_NE(processor.getEffect(), nullptr);

    for (const TestEffectHostAnswers* answers :
         {&installation.log().fromEntryWithoutEffect, &installation.log().fromEntryWithEffect})
    {
        EXPECT_EQ(answers->made, 1);
        EXPECT_EQ(answers->version, 2);
        EXPECT_EQ(answers->currentId, 0x4F4D424C);
        EXPECT_EQ(answers->sampleRate, 44100);
        EXPECT_EQ(answers->blockSize, 1024);
        EXPECT_EQ(answers->time, 0);
        EXPECT_EQ(answers->automate, 0);
        EXPECT_EQ(answers->sizeWindow, 1);
        EXPECT_EQ(answers->updateDisplay, 0);
    }
    EXPECT_FALSE(processor.takeEditorResizePending());
    EXPECT_EQ(processor.getRefreshCountdown(), QuennetAudioProcessor::kRefreshIdle);
}

TEST_F(EffectLoader, SizeAndDisplayRequestsBeforeReadinessAreIgnored)
{
    EffectInstallation installation(testEffectPath());
    installation.configureFromDefaults([](TestEffectConfig& config) { config.requestsDuringSetup = 1; });
    QuennetAudioProcessor processor;

    ASSERT_EQ(installation.log().duringSetup.made, 1);
    EXPECT_EQ(installation.log().duringSetup.sizeWindow, 1);
    EXPECT_FALSE(processor.takeEditorResizePending());
    EXPECT_EQ(processor.getRefreshCountdown(), QuennetAudioProcessor::kRefreshIdle);
}

TEST_F(EffectLoader, ProcessorWithoutAnEffectAnswersNeutralValues)
{
    EffectInstallation installation(testEffectNoEntryPath());
    QuennetAudioProcessor processor;
    ASSERT_EQ(processor.getEffect(), nullptr);

    EXPECT_EQ(processor.getNumParameters(), 0);
    EXPECT_EQ(processor.getNumPrograms(), 1);
    EXPECT_EQ(processor.getCurrentProgram(), 0);
    EXPECT_EQ(processor.getParameterName(0), "");
    EXPECT_EQ(processor.getParameter(0), 0.0f);
    EXPECT_EQ(processor.getParameterText(0), "");
    EXPECT_EQ(processor.getProgramName(0), "");
    EXPECT_FALSE(processor.isParameterAutomatable(0));
    EXPECT_EQ(processor.buildParameterTextTable(0), 0);
    EXPECT_EQ(processor.getParameterTexts().entry(0, 0), std::string());
    EXPECT_TRUE(processor.getParameterTexts().empty());
    char text[QuennetAudioProcessor::kEffectTextSize] = "stale";
    processor.getEffectParameterName(0, text);
    EXPECT_STREQ(text, "");
    VstParameterProperties properties{};
    EXPECT_FALSE(processor.getEffectParameterProperties(0, &properties));
    EXPECT_EQ(processor.setEffectSpeakerArrangement(), 0);
    processor.setParameter(0, 0.5f);
    processor.setEffectParameter(0, 0.5f);
    processor.setCurrentProgram(0);
    processor.refreshParametersFromEffect();
    processor.prepareToPlay(48000.0, 256);

    juce::MemoryBlock state;
    processor.getStateInformation(state);
    EXPECT_EQ(state.getSize(), 8u);
    const uint8_t block[16] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0x20, 0x01, 0, 0, 0, 0};
    processor.setStateInformation(block, sizeof(block));

    processor.setPlayConfigDetails(2, 2, 44100.0, 64);
    juce::AudioBuffer<float> buffer(2, 64);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 64; ++i)
            buffer.setSample(c, i, static_cast<float>(c * 100 + i));
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, 0.5f), 3);
    processor.processBlock(buffer, midi);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 64; ++i)
            ASSERT_EQ(buffer.getSample(c, i), static_cast<float>(c * 100 + i));

    std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditor());
    EXPECT_EQ(editor->getWidth(), 400);
}

} // namespace
