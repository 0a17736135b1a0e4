#pragma once
// Where the parts of a bundle live, and the bundles of a plug-in folder as a host finds them: every
// folder NAME.aaxplugin directly inside it that holds Contents/x64/NAME.aaxplugin.

#include <string>
#include <vector>

namespace ombrelhost
{

struct BundlePaths
{
    std::string name;         // NAME
    std::string folder;       // DIR/NAME.aaxplugin
    std::string binaryFolder; // .../Contents/x64
    std::string module;       // .../Contents/x64/NAME.aaxplugin
    std::string effect;       // .../Contents/x64/NAME.dll
    std::string identity;     // .../Contents/Resources/Identity.json

    // The folder's own name, "NAME.aaxplugin".
    std::string FolderName() const;

    static BundlePaths In(const std::string& directory, const std::string& name);
};

// The bundles directly inside directory, by name. Empty when there are none (or it is no folder).
std::vector<BundlePaths> BundlesInFolder(const std::string& directory);

// Whether the folder is a plug-in folder (holds at least one bundle) rather than a bundle itself.
bool IsFolderOfBundles(const std::string& directory);

} // namespace ombrelhost
