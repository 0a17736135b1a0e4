// The effect loader on its real Win32 calls: a DLL containing the effect bridge (the probe) is
// installed in a folder on drive C: of the Wine prefix, with the example delay built for Windows
// beside it as Ombrel.dll, and opened with LoadLibraryA. The probe constructs one processor and
// reports what the loader did: the module's own path found through GetModuleHandleExA, the
// "Plug-Ins" rule on backslash paths, SetDllDirectoryA and the relative LoadLibraryA, and the
// message box (replaced by the probe) when the effect is missing.

#include "tests/effect_bridge/probe/BridgeProbe.h"
#include "tests/support/ModuleLocationCases.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{

class WindowsLoader : public ::testing::TestWithParam<ModuleLocationCase>
{
protected:
    std::string root;

    void SetUp() override
    {
        root = "C:\\ombrel-loader-" + std::to_string(GetCurrentProcessId()) + "-" + GetParam().name;
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

        return runProbe(
            directory + "\\Ombrel.aaxplugin", [](const char* path) { return LoadLibraryA(path); },
            [](HMODULE probe, const char* name)
            { return reinterpret_cast<void*>(GetProcAddress(probe, name)); },
            FreeLibrary, [] { return GetLastError(); });
    }
};

TEST_P(WindowsLoader, TheBridgeFindsTheEffectBesideItsOwnFile)
{
    const ModuleLocationCase& where = GetParam();
    const ProbeReport report = loadFrom(withSeparator(where.binaryFolder, '\\'), where.withEffect);
    expectProbeReport(report, where, root, '\\', 6);
    if (!where.withEffect)
    {
        // Windows' own error code for a module that was not found.
        EXPECT_STREQ(report.messages[0], "Cant Load Ombrel.dll code=126");
    }
}

INSTANTIATE_TEST_SUITE_P(Bundles, WindowsLoader, ::testing::ValuesIn(kModuleLocationCases),
                         moduleLocationCaseName);

} // namespace
