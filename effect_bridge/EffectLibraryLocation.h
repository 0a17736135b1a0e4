#pragma once
// Where the effect library is looked for: beside the plug-in module, under the module's own name,
// found through the installed plug-in folder when the module sits under one.

#include <string>

// The file name of the effect library the module carries when the module's own name says nothing
// else: the name of the default bundle's effect.
constexpr const char* kEffectLibraryFileName = "Ombrel.dll";
// The module's file name ends in this; NAME.aaxplugin carries the effect NAME.dll.
constexpr const char* kModuleFileExtension = ".aaxplugin";
constexpr const char* kEffectLibraryExtension = ".dll";
// The folder name that marks an installed plug-in (case-sensitive; the first occurrence counts).
constexpr const char* kInstalledPluginsFolderName = "Plug-Ins";

struct EffectLibraryLocation
{
    // The effect library's own file name, as the loader's messages name it.
    std::string libraryFileName = kEffectLibraryFileName;
    // The path handed to the system loader; relative to dllDirectory when that is not empty.
    std::string libraryPath;
    // The directory made the process's library search directory before loading; empty when the
    // library path is complete by itself.
    std::string dllDirectory;

    // [any thread] The location for a module file name, with separator the system's path separator.
    // Under a "Plug-Ins" folder the library is named relative to that folder, which becomes the
    // search directory, so that the loader also finds the effect's own dependencies there; elsewhere
    // it is named by its full path in the module's folder.
    static EffectLibraryLocation forModuleFile(const std::string& moduleFileName, char separator);

    // [any thread] The effect library's file name for a module file name: NAME.dll for a module
    // NAME.aaxplugin (the extension compared without regard to case, as Windows names files), so
    // that bundles of different effects can lie in one plug-ins folder; Ombrel.dll for any other
    // module name.
    static std::string libraryFileNameFor(const std::string& moduleFileName, char separator);
};
