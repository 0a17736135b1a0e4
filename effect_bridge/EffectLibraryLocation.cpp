#include "effect_bridge/EffectLibraryLocation.h"

EffectLibraryLocation EffectLibraryLocation::forModuleFile(const std::string& moduleFileName, char separator)
{
    // The module's folder, with its trailing separator (empty for a bare file name).
    const std::string::size_type lastSeparator = moduleFileName.rfind(separator);
    const std::string folder =
        lastSeparator == std::string::npos ? std::string() : moduleFileName.substr(0, lastSeparator + 1);

    EffectLibraryLocation location;
    const std::string::size_type marker = folder.find(kInstalledPluginsFolderName);
    const std::string::size_type split =
        marker == std::string::npos ? std::string::npos : folder.find(separator, marker);
    if (split == std::string::npos)
    {
        location.libraryPath = folder + kEffectLibraryFileName;
        return location;
    }
    location.libraryPath = folder.substr(split + 1) + kEffectLibraryFileName;
    location.dllDirectory = folder.substr(0, split);
    return location;
}
