#include "tests/aax_adapter/ModuleBundle.h"

#include <filesystem>
#include <fstream>

namespace
{

// Lays the bundle out first, so that the effect library opened next is the installed copy.
std::string laidOutBundle(const std::string& bundleFolder, const std::string& effectLibrary)
{
    layOutBundle(bundleFolder, builtModulePath(), effectLibrary);
    return bundleFolder;
}

} // namespace

ModuleBundle::ModuleBundle(const std::string& effectLibrary)
    : bundleFolder(laidOutBundle(rootFolder.path() + "/" + kInstalledBundle, effectLibrary)),
      effect(effectLibrary.empty() ? std::string() : effectFile())
{
}

std::string ModuleBundle::identityFile() const
{
    return bundledIdentityFile(bundleFolder);
}

void ModuleBundle::writeIdentity(const std::string& json) const
{
    std::filesystem::create_directories(std::filesystem::path(identityFile()).parent_path());
    std::ofstream(identityFile(), std::ios::binary) << json;
}

std::string builtModulePath()
{
    return OMBREL_MODULE_FILE;
}

std::string exampleDelayPath()
{
    return OMBREL_EXAMPLE_DELAY;
}

std::string dualDelayPath()
{
    return "/usr/lib/lxvst/iem.at/libDualDelay.so";
}
