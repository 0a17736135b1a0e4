#pragma once
// The plug-in bundle as a host installs it: the module file and the effect it wraps, as Ombrel.dll,
// side by side in the bundle's binary folder.

#include <string>

// The binary folder inside a bundle, and the same inside an installed plug-ins folder.
constexpr const char* kBundleBinaryFolder = "Ombrel.aaxplugin/Contents/x64";
constexpr const char* kInstalledBundle = "Plug-Ins/Ombrel.aaxplugin/Contents/x64";

// The files in a binary folder.
std::string bundledModuleFile(const std::string& binaryFolder);
std::string bundledEffectFile(const std::string& binaryFolder);
// The bundle's identity file, in the Resources folder beside the binary folder.
std::string bundledIdentityFile(const std::string& binaryFolder);

// Creates the binary folder and copies in each file given (empty: none). Copies, not links: the
// module finds its effect beside the path it was loaded from, and each copy starts with fresh
// static state.
void layOutBundle(const std::string& binaryFolder, const std::string& module, const std::string& effect);
