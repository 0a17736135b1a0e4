// The effect loader on its real Win32 calls: a DLL containing the effect bridge (the probe) is
// installed in a folder on drive C: of the Wine prefix, with the example delay built for Windows
// beside it as Ombrel.dll, and opened with LoadLibraryA. The probe constructs one processor and
// reports what the loader did: the module's own path found through GetModuleHandleExA, the
// "Plug-Ins" rule on backslash paths, SetDllDirectoryA and the relative LoadLibraryA, and the
// message box (replaced by the probe) when the effect is missing.

#include "tests/effect_bridge/probe/BridgeProbe.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{

class WindowsLoader : public ::testing::Test
{
protected:
    std::string root;

    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root = "C:\\ombrel-loader-" + std::to_string(GetCurrentProcessId()) + "-" + test->name();
        std::filesystem::create_directories(root);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // Lays out ROOT\folder\Ombrel.aaxplugin (the probe) and, if wanted, Ombrel.dll beside it, then
    // loads one processor through the probe.
    ProbeReport loadFrom(const std::string& folder, bool withEffect = true)
    {
        const std::string directory = root + "\\" + folder;
        std::filesystem::create_directories(directory);
        std::filesystem::copy_file(OMBREL_WINDOWS_BRIDGE_PROBE, directory + "\\Ombrel.aaxplugin");
        if (withEffect)
            std::filesystem::copy_file(OMBREL_WINDOWS_EXAMPLE_DELAY, directory + "\\Ombrel.dll");

        ProbeReport report{};
        const std::string module = directory + "\\Ombrel.aaxplugin";
        HMODULE probe = LoadLibraryA(module.c_str());
        EXPECT_NE(probe, nullptr) << "LoadLibraryA(" << module << ") failed: " << GetLastError();
        if (probe == nullptr)
            return report;
        auto load = reinterpret_cast<ProbeLoadEffectProc>(
            reinterpret_cast<void*>(GetProcAddress(probe, kProbeLoadEffectName)));
        EXPECT_NE(load, nullptr);
        if (load != nullptr)
            load(&report);
        FreeLibrary(probe);
        return report;
    }
};

TEST_F(WindowsLoader, AnInstalledBundleLoadsTheEffectRelativeToThePlugInsFolder)
{
    const ProbeReport report = loadFrom("Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64");
    EXPECT_EQ(report.loaded, 1);
    EXPECT_EQ(report.numParams, 6);
    EXPECT_EQ(report.messageCount, 0);
    EXPECT_STREQ(report.moduleFileName,
                 (root + "\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.aaxplugin").c_str());
    EXPECT_STREQ(report.dllDirectory, (root + "\\Plug-Ins").c_str());
    EXPECT_STREQ(report.loadedPath, "Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll");
    EXPECT_STREQ(report.effectFile,
                 (root + "\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll").c_str());
}

TEST_F(WindowsLoader, PlugInsTwiceSearchesFromTheFirst)
{
    const ProbeReport report = loadFrom("Plug-Ins\\Avid\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64");
    EXPECT_EQ(report.loaded, 1);
    EXPECT_STREQ(report.dllDirectory, (root + "\\Plug-Ins").c_str());
    EXPECT_STREQ(report.loadedPath, "Avid\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll");
}

TEST_F(WindowsLoader, OutsideAnyPlugInsFolderTheEffectIsLoadedByItsFullPath)
{
    const ProbeReport report = loadFrom("build\\Ombrel.aaxplugin\\Contents\\x64");
    EXPECT_EQ(report.loaded, 1);
    EXPECT_STREQ(report.dllDirectory, "");
    EXPECT_STREQ(report.loadedPath, (root + "\\build\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll").c_str());
}

TEST_F(WindowsLoader, WithoutAnEffectBesideItTheMessageBoxSaysItCannotLoadOmbrelDll)
{
    const ProbeReport report = loadFrom("Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64", false);
    EXPECT_EQ(report.loaded, 0);
    ASSERT_EQ(report.messageCount, 1);
    // Windows' own error code for a module that was not found.
    EXPECT_STREQ(report.messages[0], "Cant Load Ombrel.dll code=126") << report.messages[0];
}

} // namespace
