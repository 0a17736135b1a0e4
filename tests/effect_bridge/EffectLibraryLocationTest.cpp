// The path rules that find the effect library beside the module, on Windows-style and POSIX paths.

#include "effect_bridge/EffectLibraryLocation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace
{

struct LocationCase
{
    const char* name;
    const char* moduleFile;
    char separator;
    const char* libraryPath;
    const char* dllDirectory;
};

std::ostream& operator<<(std::ostream& stream, const LocationCase& location)
{
    return stream << location.moduleFile;
}

class EffectLibraryLocationRule : public ::testing::TestWithParam<LocationCase>
{
};

TEST_P(EffectLibraryLocationRule, NamesTheLibraryAndTheSearchFolder)
{
    const LocationCase& expected = GetParam();
    const auto location = EffectLibraryLocation::forModuleFile(expected.moduleFile, expected.separator);
    EXPECT_EQ(location.libraryPath, expected.libraryPath);
    EXPECT_EQ(location.dllDirectory, expected.dllDirectory);
}

INSTANTIATE_TEST_SUITE_P(
    EffectLibraryLocation, EffectLibraryLocationRule,
    ::testing::Values(
        // An installed module: the library relative to the plug-ins folder, which is searched.
        LocationCase{"InstalledWindowsModule",
                     "C:\\Audio\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.aaxplugin", '\\',
                     "Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll", "C:\\Audio\\Plug-Ins"},
        LocationCase{"InstalledPosixModule",
                     "/opt/audio/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.aaxplugin", '/',
                     "Ombrel.aaxplugin/Contents/x64/Ombrel.dll", "/opt/audio/Plug-Ins"},
        // "Plug-Ins" twice: the first occurrence counts.
        LocationCase{"PlugInsTwiceOnWindows",
                     "D:\\Plug-Ins\\Avid\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.aaxplugin", '\\',
                     "Avid\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll", "D:\\Plug-Ins"},
        LocationCase{"PlugInsTwiceOnPosix", "/home/u/Plug-Ins/Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64/m",
                     '/', "Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.dll", "/home/u/Plug-Ins"},
        // Outside any plug-ins folder: the module's own folder and no search folder.
        LocationCase{"OutsidePlugInsOnWindows", "C:\\Build\\x64\\Release\\Ombrel.aaxplugin", '\\',
                     "C:\\Build\\x64\\Release\\Ombrel.dll", ""},
        LocationCase{"OutsidePlugInsOnPosix", "/tmp/build/Ombrel.aaxplugin", '/', "/tmp/build/Ombrel.dll",
                     ""},
        // The marker is case-sensitive and only searched in the folder, not the file name.
        LocationCase{"LowerCaseMarker", "/audio/plug-ins/x64/Ombrel.aaxplugin", '/',
                     "/audio/plug-ins/x64/Ombrel.dll", ""},
        LocationCase{"MarkerInTheFileName", "/audio/x64/Plug-Ins.aaxplugin", '/', "/audio/x64/Ombrel.dll",
                     ""},
        // A marker inside a folder's name splits at the next separator.
        LocationCase{"MarkerInsideAFolderName", "/a/MyPlug-InsFolder/b/Ombrel.aaxplugin", '/', "b/Ombrel.dll",
                     "/a/MyPlug-InsFolder"},
        // A bare or empty module name: the bare library name.
        LocationCase{"BareModuleName", "Ombrel.aaxplugin", '/', "Ombrel.dll", ""},
        LocationCase{"EmptyModuleName", "", '\\', "Ombrel.dll", ""}),
    [](const ::testing::TestParamInfo<LocationCase>& info) { return std::string(info.param.name); });

} // namespace
