// The path rules that find the effect library beside the module, on Windows-style and POSIX paths.

#include "effect_bridge/EffectLibraryLocation.h"

#include <gtest/gtest.h>

namespace
{

TEST(EffectLibraryLocation, InstalledWindowsModuleIsNamedRelativeToThePlugInsFolder)
{
    const auto location = EffectLibraryLocation::forModuleFile(
        "C:\\Audio\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.aaxplugin", '\\');
    EXPECT_EQ(location.libraryPath, "Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll");
    EXPECT_EQ(location.dllDirectory, "C:\\Audio\\Plug-Ins");
}

TEST(EffectLibraryLocation, InstalledPosixModuleIsNamedRelativeToThePlugInsFolder)
{
    const auto location = EffectLibraryLocation::forModuleFile(
        "/opt/audio/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.aaxplugin", '/');
    EXPECT_EQ(location.libraryPath, "Ombrel.aaxplugin/Contents/x64/Ombrel.dll");
    EXPECT_EQ(location.dllDirectory, "/opt/audio/Plug-Ins");
}

TEST(EffectLibraryLocation, PlugInsTwiceUsesTheFirstOccurrence)
{
    const auto windows = EffectLibraryLocation::forModuleFile(
        "D:\\Plug-Ins\\Avid\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.aaxplugin", '\\');
    EXPECT_EQ(windows.libraryPath, "Avid\\Plug-Ins\\Ombrel.aaxplugin\\Contents\\x64\\Ombrel.dll");
    EXPECT_EQ(windows.dllDirectory, "D:\\Plug-Ins");

    const auto posix = EffectLibraryLocation::forModuleFile(
        "/home/u/Plug-Ins/Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64/m", '/');
    EXPECT_EQ(posix.libraryPath, "Avid/Plug-Ins/Ombrel.aaxplugin/Contents/x64/Ombrel.dll");
    EXPECT_EQ(posix.dllDirectory, "/home/u/Plug-Ins");
}

TEST(EffectLibraryLocation, ModuleOutsideAPlugInsFolderUsesItsOwnFolderAndNoDllDirectory)
{
    const auto windows =
        EffectLibraryLocation::forModuleFile("C:\\Build\\x64\\Release\\Ombrel.aaxplugin", '\\');
    EXPECT_EQ(windows.libraryPath, "C:\\Build\\x64\\Release\\Ombrel.dll");
    EXPECT_EQ(windows.dllDirectory, "");

    const auto posix = EffectLibraryLocation::forModuleFile("/tmp/build/Ombrel.aaxplugin", '/');
    EXPECT_EQ(posix.libraryPath, "/tmp/build/Ombrel.dll");
    EXPECT_EQ(posix.dllDirectory, "");
}

TEST(EffectLibraryLocation, MarkerIsCaseSensitiveAndOnlySearchedInTheFolder)
{
    const auto lowerCase = EffectLibraryLocation::forModuleFile("/audio/plug-ins/x64/Ombrel.aaxplugin", '/');
    EXPECT_EQ(lowerCase.libraryPath, "/audio/plug-ins/x64/Ombrel.dll");
    EXPECT_EQ(lowerCase.dllDirectory, "");

    const auto inFileName = EffectLibraryLocation::forModuleFile("/audio/x64/Plug-Ins.aaxplugin", '/');
    EXPECT_EQ(inFileName.libraryPath, "/audio/x64/Ombrel.dll");
    EXPECT_EQ(inFileName.dllDirectory, "");
}

TEST(EffectLibraryLocation, MarkerInsideAFolderNameSplitsAtTheNextSeparator)
{
    const auto location = EffectLibraryLocation::forModuleFile("/a/MyPlug-InsFolder/b/Ombrel.aaxplugin", '/');
    EXPECT_EQ(location.libraryPath, "b/Ombrel.dll");
    EXPECT_EQ(location.dllDirectory, "/a/MyPlug-InsFolder");
}

TEST(EffectLibraryLocation, BareOrEmptyModuleNameGivesTheBareLibraryName)
{
    EXPECT_EQ(EffectLibraryLocation::forModuleFile("Ombrel.aaxplugin", '/').libraryPath, "Ombrel.dll");
    EXPECT_EQ(EffectLibraryLocation::forModuleFile("", '\\').libraryPath, "Ombrel.dll");
    EXPECT_EQ(EffectLibraryLocation::forModuleFile("", '\\').dllDirectory, "");
}

} // namespace
