#include "tools/host/bundle/FolderIdentifiers.h"

#include "aax_adapter/BundleIdentity.h"
#include "aax_library/AAX_Properties.h"
#include "tools/host/session/StemFormatNames.h"

namespace ombrelhost
{

BundleIdentifiers IdentifiersOfIdentity(const std::string& bundle, const AAXClasses::PlugInIdentity& identity)
{
    BundleIdentifiers identifiers;
    identifiers.bundle = bundle;
    identifiers.manufacturerId = identity.manufacturerId;
    identifiers.productId = identity.productId;
    for (const AAXClasses::ChannelConfiguration& configuration : identity.configurations)
        identifiers.plugIns.push_back({LayoutNameOf(NameOfStemFormat(configuration.inputFormat),
                                                    NameOfStemFormat(configuration.outputFormat)),
                                       configuration.nativePlugInID, configuration.audioSuitePlugInID});
    return identifiers;
}

BundleIdentifiers IdentifiersOfDescription(const std::string& bundle,
                                           const testhost::Description& description)
{
    BundleIdentifiers identifiers;
    identifiers.bundle = bundle;
    if (description.effects.empty())
        return identifiers;
    for (const testhost::ComponentDescription& component : description.effects.front().components)
    {
        identifiers.manufacturerId = static_cast<uint32_t>(component.Property(AAX_eProperty_ManufacturerID));
        identifiers.productId = static_cast<uint32_t>(component.Property(AAX_eProperty_ProductID));
        identifiers.plugIns.push_back(
            {LayoutNameOf(NameOfStemFormat(component.Property(AAX_eProperty_InputStemFormat)),
                          NameOfStemFormat(component.Property(AAX_eProperty_OutputStemFormat))),
             static_cast<uint32_t>(component.Property(AAX_eProperty_PlugInID_Native)),
             static_cast<uint32_t>(component.Property(AAX_eProperty_PlugInID_AudioSuite))});
    }
    return identifiers;
}

bool ReadBundleIdentifiers(const BundlePaths& paths, BundleIdentifiers& identifiers, std::string* fault)
{
    const AAXClasses::BundleIdentity read = AAXClasses::readBundleIdentityFile(paths.identity);
    if (!read.valid)
    {
        if (fault != nullptr)
            *fault =
                AAXClasses::identityFaultLine(read.file.empty() ? paths.identity : read.file, read.fault);
        return false;
    }
    identifiers = IdentifiersOfIdentity(paths.FolderName(), read.identity);
    return true;
}

} // namespace ombrelhost
