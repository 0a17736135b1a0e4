#pragma once
// A throw-away installed plug-in for one test, laid out as a host finds it:
// <tmp>/ombrel-adapter-XXXXXX/Plug-Ins/Ombrel.aaxplugin/Contents/x64/ holding a copy of the built
// module and, beside it as Ombrel.dll, a copy of the effect library under test. Every bundle has
// its own files, so the module and the effect start with fresh static state.
//
// For the project's test effects the bundle also opens the copied effect itself (the module loads
// the same file, so both see one copy) to configure it before the module creates it and to read
// the log of what it received.

#include "platform/NonCopyable.h"
#include "tests/support/BuiltEffects.h"
#include "tests/support/BundleLayout.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestEffectLibrary.h"

#include <string>

class ModuleBundle : private NonCopyable
{
public:
    // effectLibrary: the library to install as Ombrel.dll, or empty for a bundle without one.
    explicit ModuleBundle(const std::string& effectLibrary);

    const std::string& folder() const { return bundleFolder; }
    std::string moduleFile() const { return bundledModuleFile(bundleFolder); }
    std::string effectFile() const { return bundledEffectFile(bundleFolder); }
    // The bundle's identity file, and writing it (before the module is loaded).
    std::string identityFile() const;
    void writeIdentity(const std::string& json) const;

    // The control of an installed test effect; false for any other effect library.
    bool hasControl() const { return effect.hasControl(); }
    TestEffectConfig defaults() const { return effect.defaults(); }
    // Takes effect for effects created from now on.
    void configure(const TestEffectConfig& config) const { effect.configure(config); }
    TestEffectLog& log() const { return effect.log(); }
    // Makes the most recently created effect call its host callback, as from its own editor.
    intptr_t callHostFromEffect(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                                float opt = 0.0f) const
    {
        return effect.callHostFromEffect(opcode, index, value, ptr, opt);
    }
    // Any other exported function of the installed effect library, or null.
    template <typename Proc> Proc effectFunction(const char* name) const
    {
        return reinterpret_cast<Proc>(effect.symbol(name));
    }

private:
    TemporaryFolder rootFolder{"ombrel-adapter"};
    std::string bundleFolder;
    TestEffectLibrary effect;
};

// Paths of what the build made.
std::string builtModulePath();
std::string exampleDelayPath();
// The third-party effect from Debian's iem-plugin-suite-vst.
std::string dualDelayPath();
