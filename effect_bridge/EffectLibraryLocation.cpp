#include "effect_bridge/EffectLibraryLocation.h"

#include <algorithm>
#include <cctype>
#include <cstring>

EffectLibraryLocation EffectLibraryLocation::forModuleFile(const std::string& moduleFileName, char separator)
{
    // The module's folder, with its trailing separator (empty for a bare file name).
    const std::string::size_type lastSeparator = moduleFileName.rfind(separator);
    const std::string folder =
        lastSeparator == std::string::npos ? std::string() : moduleFileName.substr(0, lastSeparator + 1);

    EffectLibraryLocation location;
    location.libraryFileName = libraryFileNameFor(moduleFileName, separator);
    const std::string::size_type marker = folder.find(kInstalledPluginsFolderName);
    const std::string::size_type split =
        marker == std::string::npos ? std::string::npos : folder.find(separator, marker);
    if (split == std::string::npos)
    {
        location.libraryPath = folder + location.libraryFileName;
        return location;
    }
    location.libraryPath = folder.substr(split + 1) + location.libraryFileName;
    location.dllDirectory = folder.substr(0, split);
    return location;
}

std::string EffectLibraryLocation::libraryFileNameFor(const std::string& moduleFileName, char separator)
{
    const std::string::size_type lastSeparator = moduleFileName.rfind(separator);
    const std::string file =
        lastSeparator == std::string::npos ? moduleFileName : moduleFileName.substr(lastSeparator + 1);
    const size_t extensionLength = std::strlen(kModuleFileExtension);
    if (file.size() <= extensionLength)
        return kEffectLibraryFileName;
    const std::string extension = file.substr(file.size() - extensionLength);
    const bool isModuleExtension =
        std::equal(extension.begin(), extension.end(), kModuleFileExtension,
                   [](char a, char b)
                   { return std::tolower(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b); });
    if (!isModuleExtension)
        return kEffectLibraryFileName;
    return file.substr(0, file.size() - extensionLength) + kEffectLibraryExtension;
}
