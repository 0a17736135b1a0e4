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
    // The loader's messages name the file looked for.
    const std::string path = expected.libraryPath;
    EXPECT_EQ(location.libraryFileName, path.substr(path.rfind(expected.separator) == std::string::npos
                                                        ? 0
                                                        : path.rfind(expected.separator) + 1));
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
        LocationCase{"MarkerInTheFileName", "/audio/x64/Plug-Ins.aaxplugin", '/', "/audio/x64/Plug-Ins.dll",
                     ""},
        // A marker inside a folder's name splits at the next separator.
        LocationCase{"MarkerInsideAFolderName", "/a/MyPlug-InsFolder/b/Ombrel.aaxplugin", '/', "b/Ombrel.dll",
                     "/a/MyPlug-InsFolder"},
        // A module of another name carries the effect of that name.
        LocationCase{"NamedInstalledWindowsModule",
                     "C:\\Audio\\Plug-Ins\\Verb.aaxplugin\\Contents\\x64\\Verb.aaxplugin", '\\',
                     "Verb.aaxplugin\\Contents\\x64\\Verb.dll", "C:\\Audio\\Plug-Ins"},
        LocationCase{"NamedModuleOutsidePlugIns", "/tmp/build/Verb Two.aaxplugin", '/',
                     "/tmp/build/Verb Two.dll", ""},
        // Windows names files without regard to case.
        LocationCase{"UpperCaseExtension", "C:\\b\\VERB.AAXPLUGIN", '\\', "C:\\b\\VERB.dll", ""},
        // A module file of another kind, or the extension alone, keeps the default effect name.
        LocationCase{"ModuleWithoutTheExtension", "/tmp/build/libombrel.so", '/', "/tmp/build/Ombrel.dll",
                     ""},
        LocationCase{"ExtensionAlone", "/tmp/build/.aaxplugin", '/', "/tmp/build/Ombrel.dll", ""},
        // A bare or empty module name: the bare library name.
        LocationCase{"BareModuleName", "Ombrel.aaxplugin", '/', "Ombrel.dll", ""},
        LocationCase{"EmptyModuleName", "", '\\', "Ombrel.dll", ""}),
    [](const ::testing::TestParamInfo<LocationCase>& info) { return std::string(info.param.name); });

} // namespace
