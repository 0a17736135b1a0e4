#pragma once
// The host's services: assertion reports and trace messages.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFHostServices : public IACFUnknown
{
public:
    // [any thread]
    virtual AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note) = 0;
    // [any thread] the message is copied by the host.
    virtual AAX_Result Trace(int32_t priority, const char* message) = 0;

protected:
    ~AAX_IACFHostServices() = default;
};
