#pragma once
// Where the bridge finds the effect beside it, by where its bundle lies: one table of cases that the
// loader's tests check both on the POSIX stand-ins and on the real Win32 calls under Wine. Paths are
// written with '/' and turned into the platform's separator. Header-only, so that the Windows tests
// can include it without the rest of the test support library.

#include "tests/effect_bridge/probe/BridgeProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

struct ModuleLocationCase
{
    const char* name;
    const char* binaryFolder; // where the module lies, below the test's folder
    bool withEffect;          // whether Ombrel.dll lies beside it
    const char* dllDirectory; // the search folder set for the load, below the test's folder; null: none
    const char* loadedPath;   // the name the loader asks the system to load; null: the effect's full path
};

inline const ModuleLocationCase kModuleLocationCases[] = {
    // Relative to the plug-ins folder above the bundle.
    {"AnInstalledBundleLoadsTheEffectRelativeToThePlugInsFolder", "Plug-Ins/Ombrel.aaxplugin/Contents/x64",
     true, "Plug-Ins", "Ombrel.aaxplugin/Contents/x64/Ombrel.dll"},
    {"PlugInsTwiceSearchesFromTheFirst", "Plug-Ins/Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64", true,
     "Plug-Ins", "Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.dll"},
    {"OutsideAnyPlugInsFolderTheEffectIsLoadedByItsFullPath", "build/Ombrel.aaxplugin/Contents/x64", true,
     nullptr, nullptr},
    {"WithoutAnEffectBesideItTheMessageSaysItCannotLoadOmbrelDll", "Plug-Ins/Ombrel.aaxplugin/Contents/x64",
     false, "Plug-Ins", "Ombrel.aaxplugin/Contents/x64/Ombrel.dll"},
};

inline std::string moduleLocationCaseName(const ::testing::TestParamInfo<ModuleLocationCase>& info)
{
    return info.param.name;
}

// path, written with '/', in the platform's separator.
inline std::string withSeparator(std::string path, char separator)
{
    std::replace(path.begin(), path.end(), '/', separator);
    return path;
}

// Opens the probe module with open(path), runs its load function found with find(handle, name), and
// unloads it with close(handle): what the probe reported. A probe that does not open (whyNot() says
// why) or lacks the function fails the test.
template <typename Open, typename Find, typename Close, typename WhyNot>
ProbeReport runProbe(const std::string& module, Open open, Find find, Close close, WhyNot whyNot)
{
    ProbeReport report{};
    const auto probe = open(module.c_str());
    EXPECT_NE(probe, nullptr) << "cannot open " << module << ": " << whyNot();
    if (probe == nullptr)
        return report;
    const auto load = reinterpret_cast<ProbeLoadEffectProc>(find(probe, kProbeLoadEffectName));
    EXPECT_NE(load, nullptr);
    if (load != nullptr)
        load(&report);
    close(probe);
    return report;
}

// Checks what the bridge probe reported for one case. root: the test's folder, in the platform's
// form; effectParameters: the parameter count of the effect laid out beside the module.
inline void expectProbeReport(const ProbeReport& report, const ModuleLocationCase& where,
                              const std::string& root, char separator, int effectParameters)
{
    const std::string binaryFolder =
        root + separator + withSeparator(where.binaryFolder, separator) + separator;
    const std::string effectFile = binaryFolder + "Ombrel.dll";
    EXPECT_EQ(report.loaded, where.withEffect ? 1 : 0);
    EXPECT_EQ(std::string(report.moduleFileName), binaryFolder + "Ombrel.aaxplugin");
    EXPECT_EQ(std::string(report.dllDirectory),
              where.dllDirectory != nullptr ? root + separator + withSeparator(where.dllDirectory, separator)
                                            : "");
    EXPECT_EQ(std::string(report.loadedPath),
              where.loadedPath != nullptr ? withSeparator(where.loadedPath, separator) : effectFile);
    if (where.withEffect)
    {
        EXPECT_EQ(report.numParams, effectParameters);
        EXPECT_EQ(report.messageCount, 0);
        EXPECT_EQ(std::string(report.effectFile), effectFile);
        return;
    }
    ASSERT_EQ(report.messageCount, 1);
    EXPECT_EQ(std::string(report.messages[0]).rfind("Cant Load Ombrel.dll code=", 0), 0u)
        << report.messages[0];
}
