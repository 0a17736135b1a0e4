#pragma once
// The master bypass the adapter publishes beside the effect's parameters: its names and the
// parameter object itself. Its value reaches the process procedure only as a packet.

#include "aax_library/AAX_IParameter.h"

#include <cstdint>
#include <memory>

namespace AAXClasses
{

constexpr const char* kMasterBypassName = "Master Bypass";

// [any thread] The longest form of the bypass name that fits in length characters: "Master
// Bypass", "Mast Byp", "MstByp", and "MByp" below six.
const char* masterBypassNameOfLength(int32_t length);

// [host thread] The bypass parameter, off, with two steps, discrete, automatable.
std::unique_ptr<AAX_IParameter> makeMasterBypassParameter();

} // namespace AAXClasses
