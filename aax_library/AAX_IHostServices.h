#pragma once
// The host's services as the plug-in side sees them: assertion reports and trace messages.

#include "aax_library/AAX_Types.h"

class AAX_IHostServices
{
public:
    virtual ~AAX_IHostServices() = default;
    // [any thread]
    virtual AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note) const = 0;
    // [any thread]
    virtual AAX_Result Trace(int32_t priority, const char* message) const = 0;
};
