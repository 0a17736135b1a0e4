#pragma once
// The plug-in as the host sees it when it scans the module: one effect with its names, category,
// factories and one component per channel configuration (context fields, properties, process
// procedure).

#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_Exports.h"
#include "aax_library/AAX_ICollection.h"
#include "aax_library/AAX_Types.h"

#include <cstdint>

namespace AAXClasses
{

// Fixed description values.
constexpr const char* kEffectIdentifier = "\"com.quorvane.aax.ombrel\"";
constexpr const char* kManufacturerName = "Quorvane";
constexpr const char* kPackageName = "Ombrel";
constexpr uint32_t kPackageVersion = 0x00010101;
constexpr const char* kEffectName = "Ombrel";
constexpr AAX_CTypeID kManufacturerID = AAX_FourCC('K', 'W', 'Z', 'q');
constexpr AAX_CTypeID kProductID = AAX_FourCC('O', 'M', 'B', 'L');
constexpr const char* kMidiInputNodeName = "Ombrel";
constexpr uint32_t kMidiAllChannels = 0xFFFF;
// The most channels a configuration may have on either side to be described.
constexpr int32_t kMaxDescribedChannels = 8;

// Context-field declarations.
constexpr uint32_t kBypassPacketSize = 4;
constexpr int32_t kPrivateDataSize = 8;

struct ChannelConfiguration
{
    int32_t inputs;
    int32_t outputs;
    AAX_CTypeID nativePlugInID;
    AAX_CTypeID audioSuitePlugInID;
};

// In this order: mono, mono to stereo, stereo. The two mono-input configurations share one
// AudioSuite id.
constexpr ChannelConfiguration kChannelConfigurations[] = {
    {1, 1, AAX_FourCC('O', 'M', 'B', 's'), AAX_FourCC('O', 'M', 'B', 'b')},
    {1, 2, AAX_FourCC('O', 'M', 'B', 'x'), AAX_FourCC('O', 'M', 'B', 'b')},
    {2, 2, AAX_FourCC('O', 'M', 'B', 'm'), AAX_FourCC('O', 'M', 'B', 'a')},
};

// [host thread] Names, category, both factories and every channel configuration.
void describePlugIn(AAX_IEffectDescriptor& descriptor);
// [host thread] The six context fields, the eight properties and the process procedure of one
// channel configuration.
void describeComponent(AAX_IComponentDescriptor& component, const ChannelConfiguration& configuration);

} // namespace AAXClasses
