#include "aax_adapter/PlugInDescription.h"

#include "aax_adapter/GuiLibraryUsers.h"
#include "aax_adapter/JuceAAX_GUI.h"
#include "aax_adapter/JuceAAX_Processor.h"
#include "aax_adapter/StemFormats.h"
#include "aax_library/AAX_Properties.h"

AAX_Result GetEffectDescriptions(AAX_ICollection* collection)
{
    if (collection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    // The description may be asked for before any instance exists; the library runs for its
    // duration and is shut down again before this returns, also when something below throws.
    const AAXClasses::GuiLibraryUse guiLibraryUse;

    AAX_IEffectDescriptor* descriptor = collection->NewDescriptor();
    if (descriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    AAXClasses::describePlugIn(*descriptor);

    // The host's answers to these calls change nothing in what the plug-in offers.
    collection->AddEffect(AAXClasses::kEffectIdentifier, descriptor);
    collection->SetManufacturerName(AAXClasses::kManufacturerName);
    // Hosts take the package names as a long form and then shorter ones; the name is short enough
    // to be its own short form.
    collection->AddPackageName(AAXClasses::kPackageName);
    collection->AddPackageName(AAXClasses::kPackageName);
    collection->SetPackageVersion(AAXClasses::kPackageVersion);
    return AAX_SUCCESS;
}

namespace AAXClasses
{

void describePlugIn(AAX_IEffectDescriptor& descriptor)
{
    // Hosts take the names as a long form and then shorter ones for narrow displays; the name is
    // short enough to be its own short form.
    descriptor.AddName(kEffectName);
    descriptor.AddName(kEffectName);
    descriptor.AddCategory(AAX_ePlugInCategory_Delay);
    descriptor.AddProcPtr(reinterpret_cast<void*>(&JuceAAX_GUI::Create), kAAX_ProcPtrID_Create_EffectGUI);
    descriptor.AddProcPtr(reinterpret_cast<void*>(&JuceAAX_Processor::Create),
                          kAAX_ProcPtrID_Create_EffectParameters);

    for (const ChannelConfiguration& configuration : kChannelConfigurations)
    {
        AAX_IComponentDescriptor* component = descriptor.NewComponentDescriptor();
        if (component == nullptr)
            continue;
        if (configuration.inputs <= kMaxDescribedChannels && configuration.outputs <= kMaxDescribedChannels)
        {
            describeComponent(*component, configuration);
            descriptor.AddComponent(component);
        }
    }
}

void describeComponent(AAX_IComponentDescriptor& component, const ChannelConfiguration& configuration)
{
    component.AddAudioIn(kAlgorithmFieldAudioIn);
    component.AddAudioOut(kAlgorithmFieldAudioOut);
    component.AddAudioBufferLength(kAlgorithmFieldBufferLength);
    component.AddDataInPort(kAlgorithmFieldBypass, kBypassPacketSize, AAX_eDataInPortType_Buffered);
    component.AddMIDINode(kAlgorithmFieldMidiIn, AAX_eMIDINodeType_LocalInput, kMidiInputNodeName,
                          kMidiAllChannels);
    component.AddPrivateData(kAlgorithmFieldPrivateData, kPrivateDataSize,
                             AAX_ePrivateDataOptions_DefaultOptions);

    AAX_IPropertyMap* properties = component.NewPropertyMap();
    if (properties != nullptr)
    {
        properties->AddProperty(AAX_eProperty_ManufacturerID,
                                static_cast<AAX_CPropertyValue>(kManufacturerID));
        properties->AddProperty(AAX_eProperty_ProductID, static_cast<AAX_CPropertyValue>(kProductID));
        properties->AddProperty(AAX_eProperty_CanBypass, 1);
        properties->AddProperty(AAX_eProperty_InputStemFormat,
                                stemFormatForChannelCount(configuration.inputs));
        properties->AddProperty(AAX_eProperty_OutputStemFormat,
                                stemFormatForChannelCount(configuration.outputs));
        properties->AddProperty(AAX_eProperty_PlugInID_Native,
                                static_cast<AAX_CPropertyValue>(configuration.nativePlugInID));
        properties->AddProperty(AAX_eProperty_PlugInID_AudioSuite,
                                static_cast<AAX_CPropertyValue>(configuration.audioSuitePlugInID));
        properties->AddProperty(AAX_eProperty_Constraint_MultiMonoSupport, 1);
    }
    component.AddProcessProc_Native(&AudioPath::processAllInstances, properties, nullptr, nullptr, nullptr);
}

} // namespace AAXClasses
