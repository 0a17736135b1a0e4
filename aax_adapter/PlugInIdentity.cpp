#include "aax_adapter/PlugInIdentity.h"

#include <cctype>

namespace AAXClasses
{

namespace
{

// The identity of every bundle without an identity file; sessions saved so far refer to it.
constexpr const char* kDefaultEffectId = "\"com.quorvane.aax.ombrel\"";
constexpr const char* kDefaultName = "Ombrel";
constexpr const char* kDefaultManufacturer = "Quorvane";
constexpr uint32_t kDefaultVersion = 0x00010101;
constexpr AAX_CTypeID kDefaultManufacturerId = AAX_FourCC('K', 'W', 'Z', 'q');
constexpr AAX_CTypeID kDefaultProductId = AAX_FourCC('O', 'M', 'B', 'L');

// Mono, mono to stereo, stereo. The two mono-input configurations share one AudioSuite id.
constexpr ChannelConfiguration kDefaultConfigurations[] = {
    {AAX_eStemFormat_Mono, AAX_eStemFormat_Mono, AAX_FourCC('O', 'M', 'B', 's'),
     AAX_FourCC('O', 'M', 'B', 'b')},
    {AAX_eStemFormat_Mono, AAX_eStemFormat_Stereo, AAX_FourCC('O', 'M', 'B', 'x'),
     AAX_FourCC('O', 'M', 'B', 'b')},
    {AAX_eStemFormat_Stereo, AAX_eStemFormat_Stereo, AAX_FourCC('O', 'M', 'B', 'm'),
     AAX_FourCC('O', 'M', 'B', 'a')},
};

} // namespace

bool ChannelConfiguration::operator==(const ChannelConfiguration& other) const
{
    return inputFormat == other.inputFormat && outputFormat == other.outputFormat &&
           nativePlugInID == other.nativePlugInID && audioSuitePlugInID == other.audioSuitePlugInID;
}

PlugInIdentity PlugInIdentity::defaults()
{
    PlugInIdentity identity;
    identity.name = kDefaultName;
    // The name is short enough to be its own short form.
    identity.shortNames = {kDefaultName};
    identity.manufacturer = kDefaultManufacturer;
    identity.effectId = kDefaultEffectId;
    identity.manufacturerId = kDefaultManufacturerId;
    identity.productId = kDefaultProductId;
    identity.category = AAX_ePlugInCategory_Delay;
    identity.version = kDefaultVersion;
    identity.configurations.assign(std::begin(kDefaultConfigurations), std::end(kDefaultConfigurations));
    return identity;
}

bool PlugInIdentity::operator==(const PlugInIdentity& other) const
{
    return name == other.name && shortNames == other.shortNames && manufacturer == other.manufacturer &&
           effectId == other.effectId && manufacturerId == other.manufacturerId &&
           productId == other.productId && category == other.category && version == other.version &&
           configurations == other.configurations;
}

bool isDefaultIdentifier(AAX_CTypeID code)
{
    if (code == kDefaultManufacturerId || code == kDefaultProductId)
        return true;
    for (const ChannelConfiguration& configuration : kDefaultConfigurations)
        if (code == configuration.nativePlugInID || code == configuration.audioSuitePlugInID)
            return true;
    return false;
}

std::string fourCharacterText(AAX_CTypeID code)
{
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[static_cast<size_t>(i)] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    return text;
}

std::string derivedEffectId(AAX_CTypeID manufacturerId, AAX_CTypeID productId)
{
    std::string id = "com." + fourCharacterText(manufacturerId) + ".aax." + fourCharacterText(productId);
    for (char& c : id)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "\"" + id + "\"";
}

} // namespace AAXClasses
