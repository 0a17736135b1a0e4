#pragma once
// A throw-away installed plug-in folder for one test: a temporary
// <tmp>/ombrel-XXXXXX/Plug-Ins/Ombrel.aaxplugin/Contents/x64/ holding a copy of an effect library as
// Ombrel.dll. While it exists the loader takes the module file to be Ombrel.aaxplugin in that folder
// and every loader message box is captured instead of shown. Each test gets its own copy of the
// library file, so each starts with the effect's static state fresh.

#include "platform/PlatformCalls.h"
#include "tests/test_effects/TestEffectControl.h"

#include <string>
#include <vector>

class EffectInstallation
{
public:
    static constexpr const char* kInstalledBundle = "Plug-Ins/Ombrel.aaxplugin/Contents/x64";

    enum class Control
    {
        TestEffect, // open the installed library for its control functions
        None,       // leave a third-party library to the processor alone
    };

    // effectLibrary: the library to copy in as Ombrel.dll, or empty for a folder without one.
    explicit EffectInstallation(const std::string& effectLibrary,
                                const std::string& bundle = kInstalledBundle,
                                Control control = Control::TestEffect);
    ~EffectInstallation();

    const std::string& root() const { return rootFolder; }
    const std::string& folder() const { return bundleFolder; }
    std::string moduleFile() const { return bundleFolder + "/Ombrel.aaxplugin"; }
    std::string effectFile() const { return bundleFolder + "/Ombrel.dll"; }

    // The loader messages shown since construction, in order.
    static const std::vector<std::string>& messages();

    // The control functions of an installed test effect (the library stays open until destruction).
    bool hasControl() const { return logProc != nullptr; }
    TestEffectConfig defaults() const;
    void configure(const TestEffectConfig& config) const;
    TestEffectLog& log() const;
    intptr_t callHostFromEffect(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                                float opt = 0.0f) const;

private:
    std::string rootFolder;
    std::string bundleFolder;
    void* control = nullptr;
    TestEffectDefaultsProc defaultsProc = nullptr;
    TestEffectConfigureProc configureProc = nullptr;
    TestEffectLogProc logProc = nullptr;
    TestEffectCallHostProc callHostProc = nullptr;
    platform::PlatformCalls previousCalls;
};

// Paths of the built test effects.
std::string testEffectPath();
std::string testEffectMainOnlyPath();
std::string testEffectVstPluginMainOnlyPath();
std::string testEffectNoEntryPath();

// Index of the first logged call matching kind and opcode at or after `from`, or -1.
int findCall(const TestEffectLog& log, int32_t kind, int32_t opcode, int from = 0);
// The dispatcher opcodes logged, in order.
std::vector<int32_t> dispatcherOpcodes(const TestEffectLog& log);
