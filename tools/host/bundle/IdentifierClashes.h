#pragma once
// Identifiers that two bundles in one plug-in folder share. A host tells plug-ins apart by their
// codes alone, so a second bundle with a code of the first one hides it or takes its sessions.

#include <cstdint>
#include <string>
#include <vector>

namespace ombrelhost
{

// The codes one bundle declares.
struct BundleIdentifiers
{
    struct PlugIn
    {
        std::string layout; // the layout's name, "stereo", "mono-stereo", ...
        uint32_t nativeId = 0;
        uint32_t audioSuiteId = 0;
    };

    std::string bundle; // its folder's name, "Verb.aaxplugin"
    uint32_t manufacturerId = 0;
    uint32_t productId = 0;
    std::vector<PlugIn> plugIns;
};

// One line per identifier that candidate shares with one of others: a plug-in identifier (native or
// AudioSuite) found in both, or the same product code under the same manufacturer code.
std::vector<std::string> ClashesWith(const BundleIdentifiers& candidate,
                                     const std::vector<BundleIdentifiers>& others);

// Every such line between any two of the bundles, each pair once.
std::vector<std::string> ClashesAmong(const std::vector<BundleIdentifiers>& bundles);

} // namespace ombrelhost
