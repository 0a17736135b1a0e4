#include "aax_adapter/PlugInDescription.h"

#include "aax_adapter/BundleIdentity.h"
#include "aax_adapter/GuiLibraryUsers.h"
#include "aax_adapter/IdentityFaultReport.h"
#include "aax_adapter/JuceAAX_GUI.h"
#include "aax_adapter/JuceAAX_Processor.h"
#include "aax_adapter/StemFormats.h"
#include "aax_library/AAX_Properties.h"
#include "effect_bridge/EffectChannelProbe.h"

#include <string>

namespace
{

// [host thread] The bundle's identity, checked against the channels its effect declares where a
// configuration is wider than stereo; a fault is written out as its one line.
bool describableIdentity(AAXClasses::PlugInIdentity& identity)
{
    const AAXClasses::BundleIdentity bundle = AAXClasses::readBundleIdentity();
    AAXClasses::IdentityFault fault = bundle.fault;
    bool valid = bundle.valid;
    if (valid && AAXClasses::needsDeclaredChannels(bundle.identity))
    {
        // The effect is created only for such an identity, so that a scan of any other bundle
        // makes no call into its effect.
        const DeclaredChannels declared = probeDeclaredChannels();
        if (declared.known)
            valid = AAXClasses::checkDeclaredChannels(bundle.identity, declared.inputs, declared.outputs,
                                                      declared.libraryFileName, fault);
    }
    if (!valid)
    {
        AAXClasses::reportIdentityFault(AAXClasses::identityFaultLine(bundle.file, fault));
        return false;
    }
    identity = bundle.identity;
    return true;
}

} // namespace

AAX_Result GetEffectDescriptions(AAX_ICollection* collection)
{
    if (collection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    // The description may be asked for before any instance exists; the library runs for its
    // duration and is shut down again before this returns, also when something below throws.
    const AAXClasses::GuiLibraryUse guiLibraryUse;

    AAXClasses::PlugInIdentity identity;
    if (!describableIdentity(identity))
        return AAXClasses::kIdentityFaultResult;

    AAX_IEffectDescriptor* descriptor = collection->NewDescriptor();
    if (descriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    AAXClasses::describePlugIn(*descriptor, identity);

    // The host's answers to these calls change nothing in what the plug-in offers.
    collection->AddEffect(identity.effectId.c_str(), descriptor);
    collection->SetManufacturerName(identity.manufacturer.c_str());
    // Hosts take the package names as a long form and then shorter ones, like the effect's names.
    collection->AddPackageName(identity.name.c_str());
    for (const std::string& shortName : identity.shortNames)
        collection->AddPackageName(shortName.c_str());
    collection->SetPackageVersion(identity.version);
    return AAX_SUCCESS;
}

namespace AAXClasses
{

void describePlugIn(AAX_IEffectDescriptor& descriptor, const PlugInIdentity& identity)
{
    // Hosts take the names as a long form and then shorter ones for narrow displays.
    descriptor.AddName(identity.name.c_str());
    for (const std::string& shortName : identity.shortNames)
        descriptor.AddName(shortName.c_str());
    descriptor.AddCategory(identity.category);
    descriptor.AddProcPtr(reinterpret_cast<void*>(&JuceAAX_GUI::Create), kAAX_ProcPtrID_Create_EffectGUI);
    descriptor.AddProcPtr(reinterpret_cast<void*>(&JuceAAX_Processor::Create),
                          kAAX_ProcPtrID_Create_EffectParameters);

    for (const ChannelConfiguration& configuration : identity.configurations)
    {
        AAX_IComponentDescriptor* component = descriptor.NewComponentDescriptor();
        if (component == nullptr)
            continue;
        if (channelCountForStemFormat(configuration.inputFormat) <= kMaxDescribedChannels &&
            channelCountForStemFormat(configuration.outputFormat) <= kMaxDescribedChannels)
        {
            describeComponent(*component, identity, configuration);
            descriptor.AddComponent(component);
        }
    }
}

void describeComponent(AAX_IComponentDescriptor& component, const PlugInIdentity& identity,
                       const ChannelConfiguration& configuration)
{
    component.AddAudioIn(kAlgorithmFieldAudioIn);
    component.AddAudioOut(kAlgorithmFieldAudioOut);
    component.AddAudioBufferLength(kAlgorithmFieldBufferLength);
    component.AddDataInPort(kAlgorithmFieldBypass, kBypassPacketSize, AAX_eDataInPortType_Buffered);
    component.AddMIDINode(kAlgorithmFieldMidiIn, AAX_eMIDINodeType_LocalInput, identity.name.c_str(),
                          kMidiAllChannels);
    component.AddPrivateData(kAlgorithmFieldPrivateData, kPrivateDataSize,
                             AAX_ePrivateDataOptions_DefaultOptions);
    component.AddSampleRate(kAlgorithmFieldSampleRate);

    AAX_IPropertyMap* properties = component.NewPropertyMap();
    if (properties != nullptr)
    {
        properties->AddProperty(AAX_eProperty_ManufacturerID,
                                static_cast<AAX_CPropertyValue>(identity.manufacturerId));
        properties->AddProperty(AAX_eProperty_ProductID, static_cast<AAX_CPropertyValue>(identity.productId));
        properties->AddProperty(AAX_eProperty_CanBypass, 1);
        properties->AddProperty(AAX_eProperty_InputStemFormat, configuration.inputFormat);
        properties->AddProperty(AAX_eProperty_OutputStemFormat, configuration.outputFormat);
        properties->AddProperty(AAX_eProperty_PlugInID_Native,
                                static_cast<AAX_CPropertyValue>(configuration.nativePlugInID));
        properties->AddProperty(AAX_eProperty_PlugInID_AudioSuite,
                                static_cast<AAX_CPropertyValue>(configuration.audioSuitePlugInID));
        properties->AddProperty(AAX_eProperty_Constraint_MultiMonoSupport, 1);
    }
    component.AddProcessProc_Native(&AudioPath::processAllInstances, properties, nullptr, nullptr, nullptr);
}

} // namespace AAXClasses
