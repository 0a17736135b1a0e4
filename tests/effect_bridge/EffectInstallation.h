#pragma once
// A throw-away installed plug-in folder for one test: a temporary
// <tmp>/ombrel-XXXXXX/Plug-Ins/Ombrel.aaxplugin/Contents/x64/ holding a copy of an effect library as
// Ombrel.dll. While it exists the loader takes the module file to be Ombrel.aaxplugin in that folder
// and every loader message box is captured instead of shown. Each test gets its own copy of the
// library file, so each starts with the effect's static state fresh.

#include "platform/PlatformCalls.h"
#include "tests/support/BuiltEffects.h"
#include "tests/support/BundleLayout.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestEffectLibrary.h"

#include <memory>
#include <string>
#include <vector>

class EffectInstallation
{
public:
    static constexpr const char* kInstalledBundle = ::kInstalledBundle;

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

    const std::string& root() const { return rootFolder.path(); }
    const std::string& folder() const { return bundleFolder; }
    std::string moduleFile() const { return bundledModuleFile(bundleFolder); }
    std::string effectFile() const { return bundledEffectFile(bundleFolder); }

    // The loader messages shown since construction, in order.
    static const std::vector<std::string>& messages();

    // The control functions of an installed test effect.
    bool hasControl() const { return control != nullptr && control->hasControl(); }
    TestEffectConfig defaults() const
    {
        return control != nullptr ? control->defaults() : TestEffectConfig{};
    }
    void configure(const TestEffectConfig& config) const { testEffect().configure(config); }
    // Configures the test effect as its defaults changed by edit(TestEffectConfig&).
    template <typename Edit> void configureFromDefaults(Edit edit) const
    {
        TestEffectConfig config = defaults();
        edit(config);
        configure(config);
    }
    TestEffectLog& log() const { return testEffect().log(); }
    intptr_t callHostFromEffect(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                                float opt = 0.0f) const
    {
        return testEffect().callHostFromEffect(opcode, index, value, ptr, opt);
    }

private:
    const TestEffectLibrary& testEffect() const;

    TemporaryFolder rootFolder{"ombrel"};
    std::string bundleFolder;
    std::unique_ptr<TestEffectLibrary> control;
    platform::PlatformCalls previousCalls;
};
