#include "tests/support/BundleLayout.h"

#include <filesystem>

std::string bundledModuleFile(const std::string& binaryFolder)
{
    return binaryFolder + "/Ombrel.aaxplugin";
}

std::string bundledEffectFile(const std::string& binaryFolder)
{
    return binaryFolder + "/Ombrel.dll";
}

std::string bundledIdentityFile(const std::string& binaryFolder)
{
    return binaryFolder + "/../Resources/Identity.json";
}

void layOutBundle(const std::string& binaryFolder, const std::string& module, const std::string& effect)
{
    namespace fs = std::filesystem;
    fs::create_directories(binaryFolder);
    if (!module.empty())
        fs::copy_file(module, bundledModuleFile(binaryFolder), fs::copy_options::overwrite_existing);
    if (!effect.empty())
        fs::copy_file(fs::canonical(effect), bundledEffectFile(binaryFolder),
                      fs::copy_options::overwrite_existing);
}
