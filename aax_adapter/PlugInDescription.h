#pragma once
// The plug-in as the host sees it when it scans the module: one effect with its names, category,
// factories and one component per channel configuration (context fields, properties, process
// procedure), all as the bundle's identity gives them.

#include "aax_adapter/PlugInIdentity.h"
#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_Errors.h"
#include "aax_library/AAX_Exports.h"
#include "aax_library/AAX_ICollection.h"
#include "aax_library/AAX_Types.h"

#include <cstdint>

namespace AAXClasses
{

// What every description declares, whatever the bundle's identity.
constexpr uint32_t kMidiAllChannels = 0xFFFF;
// The most channels a configuration may have on either side to be described.
constexpr int32_t kMaxDescribedChannels = 8;

// Context-field declarations.
constexpr uint32_t kBypassPacketSize = 4;
constexpr int32_t kPrivateDataSize = 8;

// The answer to the host's description call when the bundle's identity file has a fault: no effect
// is described.
constexpr AAX_Result kIdentityFaultResult = AAX_ERROR_NULL_OBJECT;

// [host thread] The identity's names and category, both factories and every channel configuration.
void describePlugIn(AAX_IEffectDescriptor& descriptor, const PlugInIdentity& identity);
// [host thread] The six context fields, the eight properties and the process procedure of one
// channel configuration of the identity.
void describeComponent(AAX_IComponentDescriptor& component, const PlugInIdentity& identity,
                       const ChannelConfiguration& configuration);

} // namespace AAXClasses
