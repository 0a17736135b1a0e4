#include "tools/host/bundle/BundleFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace ombrelhost
{

namespace
{
constexpr const char* kBundleExtension = ".aaxplugin";
constexpr const char* kEffectExtension = ".dll";
} // namespace

std::string BundlePaths::FolderName() const
{
    return name + kBundleExtension;
}

BundlePaths BundlePaths::In(const std::string& directory, const std::string& name)
{
    std::string parent = directory.empty() ? std::string(".") : directory;
    while (parent.size() > 1 && parent.back() == '/')
        parent.pop_back();
    BundlePaths paths;
    paths.name = name;
    paths.folder = parent + "/" + name + kBundleExtension;
    paths.binaryFolder = paths.folder + "/Contents/x64";
    paths.module = paths.binaryFolder + "/" + name + kBundleExtension;
    paths.effect = paths.binaryFolder + "/" + name + kEffectExtension;
    paths.identity = paths.folder + "/Contents/Resources/Identity.json";
    return paths;
}

std::vector<BundlePaths> BundlesInFolder(const std::string& directory)
{
    namespace fs = std::filesystem;
    std::vector<BundlePaths> bundles;
    std::error_code error;
    for (fs::directory_iterator entry(directory, error), end; !error && entry != end; entry.increment(error))
    {
        const fs::path path = entry->path();
        if (path.extension() != kBundleExtension || !entry->is_directory(error))
            continue;
        BundlePaths paths = BundlePaths::In(directory, path.stem().string());
        if (fs::is_regular_file(paths.module, error))
            bundles.push_back(std::move(paths));
    }
    std::sort(bundles.begin(), bundles.end(),
              [](const BundlePaths& a, const BundlePaths& b) { return a.name < b.name; });
    return bundles;
}

bool IsFolderOfBundles(const std::string& directory)
{
    return !BundlesInFolder(directory).empty();
}

} // namespace ombrelhost
