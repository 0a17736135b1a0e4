#pragma once
// The host's automation delegate: the module's parameter touch, release and value requests.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    // [host thread] parameter ids are NUL-terminated texts copied by the host.
    virtual AAX_Result RegisterParameter(const char* parameterId) = 0;
    virtual AAX_Result UnregisterParameter(const char* parameterId) = 0;
    // [any thread]
    virtual AAX_Result PostSetValueRequest(const char* parameterId, double normalizedValue) = 0;
    virtual AAX_Result PostCurrentValue(const char* parameterId, double normalizedValue) = 0;
    virtual AAX_Result PostTouchRequest(const char* parameterId) = 0;
    virtual AAX_Result PostReleaseRequest(const char* parameterId) = 0;
    virtual AAX_Result GetTouchState(const char* parameterId, AAX_CBoolean* touched) = 0;

protected:
    ~AAX_IACFAutomationDelegate() = default;
};
