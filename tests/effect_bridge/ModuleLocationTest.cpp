// The loader for real: a shared library containing the bridge is placed in a folder with a test
// effect beside it as Ombrel.dll, opened from disk, and finds the effect through its own location.

#include "tests/effect_bridge/probe/BridgeProbe.h"
#include "tests/support/BuiltEffects.h"
#include "tests/support/BundleLayout.h"
#include "tests/support/TemporaryFolder.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

namespace
{

class ModuleLocation : public ::testing::Test
{
protected:
    TemporaryFolder folder{"ombrel-module"};
    const std::string& root = folder.path();

    // Lays out <root>/<binaryFolder>/Ombrel.aaxplugin (the probe) and, if wanted, Ombrel.dll beside it,
    // then loads one processor through the probe.
    ProbeReport loadFrom(const std::string& binaryFolder, bool withEffect = true)
    {
        const std::string directory = root + "/" + binaryFolder;
        layOutBundle(directory, OMBREL_BRIDGE_PROBE, withEffect ? testEffectPath() : "");
        const std::string module = bundledModuleFile(directory);

        ProbeReport report{};
        void* probe = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(probe, nullptr) << dlerror();
        if (probe == nullptr)
            return report;
        auto load = reinterpret_cast<ProbeLoadEffectProc>(dlsym(probe, kProbeLoadEffectName));
        EXPECT_NE(load, nullptr);
        if (load != nullptr)
            load(&report);
        dlclose(probe);
        return report;
    }
};

TEST_F(ModuleLocation, BridgeInAnInstalledBundleLoadsTheEffectBesideIt)
{
    const ProbeReport report = loadFrom("Plug-Ins/Ombrel.aaxplugin/Contents/x64");
    EXPECT_EQ(report.loaded, 1);
    EXPECT_EQ(report.numParams, 3);
    EXPECT_EQ(report.messageCount, 0);
    EXPECT_STREQ(report.moduleFileName,
                 (root + "/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.aaxplugin").c_str());
    EXPECT_STREQ(report.dllDirectory, (root + "/Plug-Ins").c_str());
    EXPECT_STREQ(report.loadedPath, "Ombrel.aaxplugin/Contents/x64/Ombrel.dll");
    EXPECT_STREQ(report.effectFile, (root + "/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.dll").c_str());
}

TEST_F(ModuleLocation, BridgeUnderPlugInsTwiceSearchesFromTheFirst)
{
    const ProbeReport report = loadFrom("Plug-Ins/Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64");
    EXPECT_EQ(report.loaded, 1);
    EXPECT_STREQ(report.dllDirectory, (root + "/Plug-Ins").c_str());
    EXPECT_STREQ(report.loadedPath, "Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.dll");
}

TEST_F(ModuleLocation, BridgeOutsideAnyPlugInsFolderLoadsByFullPath)
{
    const ProbeReport report = loadFrom("build/Ombrel.aaxplugin/Contents/x64");
    EXPECT_EQ(report.loaded, 1);
    EXPECT_STREQ(report.dllDirectory, "");
    EXPECT_STREQ(report.loadedPath, (root + "/build/Ombrel.aaxplugin/Contents/x64/Ombrel.dll").c_str());
}

TEST_F(ModuleLocation, BridgeWithoutAnEffectBesideItSaysItCannotLoadOmbrelDll)
{
    const ProbeReport report = loadFrom("Plug-Ins/Ombrel.aaxplugin/Contents/x64", false);
    EXPECT_EQ(report.loaded, 0);
    ASSERT_EQ(report.messageCount, 1);
    EXPECT_EQ(std::string(report.messages[0]).rfind("Cant Load Ombrel.dll code=", 0), 0u)
        << report.messages[0];
}

} // namespace
