#include "aax_adapter/BundleIdentity.h"

#include "effect_bridge/ModuleFile.h"
#include "platform/PlatformCalls.h"

#include <filesystem>
#include <fstream>
#include <exception>
#include <iterator>
#include <system_error>

namespace AAXClasses
{

namespace
{

constexpr const char* kResourcesFolderName = "Resources";
constexpr const char* kIdentityFileName = "Identity.json";
constexpr const char* kParentFolderName = "..";

} // namespace

std::string identityFileFor(const std::string& moduleFileName, char separator)
{
    const std::string::size_type moduleSeparator = moduleFileName.rfind(separator);
    std::string parent;
    if (moduleSeparator == std::string::npos)
    {
        parent = std::string(kParentFolderName) + separator;
    }
    else
    {
        // The module's folder without its trailing separator, then that folder's parent with its own.
        const std::string::size_type folderSeparator =
            moduleSeparator == 0 ? std::string::npos : moduleFileName.rfind(separator, moduleSeparator - 1);
        parent = folderSeparator == std::string::npos
                     ? moduleFileName.substr(0, moduleSeparator + 1) + kParentFolderName + separator
                     : moduleFileName.substr(0, folderSeparator + 1);
    }
    return parent + kResourcesFolderName + separator + kIdentityFileName;
}

BundleIdentity readBundleIdentityFile(const std::string& identityFile)
{
    BundleIdentity bundle;
    bundle.file = identityFile;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(identityFile, error);
    if (status.type() == std::filesystem::file_type::not_found)
    {
        bundle.valid = true;
        bundle.identity = PlugInIdentity::defaults();
        return bundle;
    }
    // A file that is there but cannot be read is a fault like any other: describing the default
    // identity instead would collide with every other wrapped effect.
    std::string text;
    bool read = false;
    if (status.type() == std::filesystem::file_type::regular)
    {
        try
        {
            std::ifstream stream(identityFile, std::ios::binary);
            if (stream)
            {
                text.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
                read = !stream.bad();
            }
        }
        catch (const std::exception&)
        {
            read = false;
        }
    }
    if (!read)
    {
        bundle.fault = {"", "cannot be read"};
        return bundle;
    }
    const IdentityReading reading = readPlugInIdentity(text);
    bundle.valid = reading.valid;
    bundle.identity = reading.identity;
    bundle.fault = reading.fault;
    return bundle;
}

BundleIdentity readBundleIdentity()
{
    std::string moduleFileName;
    if (!ownModuleFileName(moduleFileName))
    {
        BundleIdentity bundle;
        bundle.valid = true;
        bundle.identity = PlugInIdentity::defaults();
        return bundle;
    }
    return readBundleIdentityFile(identityFileFor(moduleFileName, platform::kPathSeparator));
}

} // namespace AAXClasses
