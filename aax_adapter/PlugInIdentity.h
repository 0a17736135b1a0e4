#pragma once
// Who the plug-in says it is: the names, identifiers, category, version and channel configurations
// the description hands to the host. A bundle gives its own in Contents/Resources/Identity.json;
// without that file the module describes itself with the defaults, which are the identity every
// session saved with the module so far refers to.

#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_StemFormats.h"
#include "aax_library/AAX_Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AAXClasses
{

// The longest name a host takes (the effect name, its short forms and the manufacturer), in bytes.
constexpr size_t kMaxIdentityNameBytes = 31;

struct ChannelConfiguration
{
    AAX_EStemFormat inputFormat;
    AAX_EStemFormat outputFormat;
    AAX_CTypeID nativePlugInID;
    AAX_CTypeID audioSuitePlugInID;

    bool operator==(const ChannelConfiguration& other) const;
};

struct PlugInIdentity
{
    // The first name handed to the host and the package's name.
    std::string name;
    // Further names, each shorter, for the host's narrow displays; also further package names.
    std::vector<std::string> shortNames;
    std::string manufacturer;
    // The identifier AddEffect is given.
    std::string effectId;
    AAX_CTypeID manufacturerId = 0;
    AAX_CTypeID productId = 0;
    uint32_t category = 0;
    uint32_t version = 0;
    // One component each, in this order.
    std::vector<ChannelConfiguration> configurations;

    // [any thread] The identity of a bundle without an identity file: "Ombrel" by "Quorvane" in
    // mono, mono to stereo and stereo.
    static PlugInIdentity defaults();

    bool operator==(const PlugInIdentity& other) const;
    bool operator!=(const PlugInIdentity& other) const { return !(*this == other); }
};

// [any thread] Whether code is one of the identifiers of the default identity: a bundle that
// describes another effect under one of them collides with every bundle that does not.
bool isDefaultIdentifier(AAX_CTypeID code);

// [any thread] The identifier derived for an effect that names none: com.MANUFACTURER.aax.PRODUCT
// in lower case, in double quotes like the default's.
std::string derivedEffectId(AAX_CTypeID manufacturerId, AAX_CTypeID productId);

// [any thread] A four-character code as its four characters.
std::string fourCharacterText(AAX_CTypeID code);

} // namespace AAXClasses
