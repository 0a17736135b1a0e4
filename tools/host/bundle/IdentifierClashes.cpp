#include "tools/host/bundle/IdentifierClashes.h"

#include "aax_adapter/PlugInIdentity.h"

#include <algorithm>

namespace ombrelhost
{

namespace
{

struct Role
{
    uint32_t code;
    std::string what; // "the native id of stereo"
};

std::vector<Role> PlugInRoles(const BundleIdentifiers& bundle)
{
    std::vector<Role> roles;
    for (const BundleIdentifiers::PlugIn& plugIn : bundle.plugIns)
    {
        roles.push_back({plugIn.nativeId, "the native id of " + plugIn.layout});
        roles.push_back({plugIn.audioSuiteId, "the AudioSuite id of " + plugIn.layout});
    }
    return roles;
}

std::string Quoted(uint32_t code)
{
    return "'" + AAXClasses::fourCharacterText(code) + "'";
}

void AddClashes(const BundleIdentifiers& first, const BundleIdentifiers& second,
                std::vector<std::string>& lines)
{
    if (first.manufacturerId == second.manufacturerId && first.productId == second.productId)
        lines.push_back("product id " + Quoted(first.productId) + " of manufacturer " +
                        Quoted(first.manufacturerId) + " is used by both " + first.bundle + " and " +
                        second.bundle);
    const std::vector<Role> secondRoles = PlugInRoles(second);
    std::vector<uint32_t> reported;
    for (const Role& role : PlugInRoles(first))
        for (const Role& other : secondRoles)
            if (role.code == other.code)
            {
                // An id the first bundle uses twice (the default's shared AudioSuite id) is one clash.
                if (std::find(reported.begin(), reported.end(), role.code) != reported.end())
                    continue;
                reported.push_back(role.code);
                lines.push_back("plug-in id " + Quoted(role.code) + " is " + role.what + " in " +
                                first.bundle + " and " + other.what + " in " + second.bundle);
            }
}

} // namespace

std::vector<std::string> ClashesWith(const BundleIdentifiers& candidate,
                                     const std::vector<BundleIdentifiers>& others)
{
    std::vector<std::string> lines;
    for (const BundleIdentifiers& other : others)
        AddClashes(candidate, other, lines);
    return lines;
}

std::vector<std::string> ClashesAmong(const std::vector<BundleIdentifiers>& bundles)
{
    std::vector<std::string> lines;
    for (size_t first = 0; first < bundles.size(); ++first)
        for (size_t second = first + 1; second < bundles.size(); ++second)
            AddClashes(bundles[first], bundles[second], lines);
    return lines;
}

} // namespace ombrelhost
