#pragma once
// The identifiers the adapter publishes its parameters under: "MasterBypassID" for the master
// bypass, and the zero-based index as plain decimal text for each of the effect's parameters.

#include "aax_library/AAX_Types.h"

#include <cstdint>

namespace AAXClasses
{

// [any thread] Whether the identifier is the master bypass's, compared byte for byte.
bool isMasterBypass(AAX_CParamID id);

// [any thread] The leading decimal number of an identifier by atoi's rules (blanks and a sign
// accepted, reading stops at the first non-digit, no digits give 0), without atoi's undefined
// overflow: the value is held at one past the largest index.
int64_t leadingDecimal(const char* text);

// [any thread] A parameter index written as plain decimal text. The buffer is on the stack,
// because changes the effect reports may come on its audio thread.
struct IndexText
{
    explicit IndexText(int index);

    static constexpr int kCapacity = 12;
    char text[kCapacity] = {};
};

} // namespace AAXClasses
