#pragma once
// Reading a bundle's identity file: JSON, every field optional and left-out fields taking the
// default identity's values, but a renamed effect must bring identifiers of its own. A file with
// any fault gives no identity at all, never the default one: a bundle that meant to be another
// effect and is described as Ombrel would collide with every other wrapped effect.

#include "aax_adapter/PlugInIdentity.h"

#include <cstdint>
#include <string>

namespace AAXClasses
{

struct IdentityFault
{
    // Where in the file: "name", "configurations[1].nativeId"; empty for the file as a whole.
    std::string field;
    // What is wrong, with the value as the file writes it: "\"AcV\" is not four printable ASCII
    // characters".
    std::string fault;
};

struct IdentityReading
{
    bool valid = false;
    PlugInIdentity identity;
    IdentityFault fault;
};

// [any thread] The identity the text of an identity file gives, or its first fault.
IdentityReading readPlugInIdentity(const std::string& jsonText);

// [any thread] Whether a configuration of the identity has more than two channels on a side: only
// then does it matter how many channels the effect declares, since every effect is driven with at
// least two.
bool needsDeclaredChannels(const PlugInIdentity& identity);

// [any thread] False, with the fault, for the first configuration needing more channels than an
// effect declaring declaredInputs and declaredOutputs offers (fewer than two count as two); true
// when none does. effectFileName names the effect in the fault.
bool checkDeclaredChannels(const PlugInIdentity& identity, int32_t declaredInputs, int32_t declaredOutputs,
                           const std::string& effectFileName, IdentityFault& fault);

// [any thread] The one line a fault is reported as: "Ombrel: FILE: FIELD: FAULT".
std::string identityFaultLine(const std::string& file, const IdentityFault& fault);

} // namespace AAXClasses
