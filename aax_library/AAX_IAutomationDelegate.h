#pragma once
// The host's automation delegate as the plug-in side sees it: what parameters ask of the host.

#include "aax_library/AAX_Types.h"

class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;
    // [host thread]
    virtual AAX_Result RegisterParameter(AAX_CParamID parameterId) = 0;
    // [host thread]
    virtual AAX_Result UnregisterParameter(AAX_CParamID parameterId) = 0;
    // [any thread] everything below.
    virtual AAX_Result PostSetValueRequest(AAX_CParamID parameterId, double normalizedValue) const = 0;
    virtual AAX_Result PostCurrentValue(AAX_CParamID parameterId, double normalizedValue) const = 0;
    virtual AAX_Result PostTouchRequest(AAX_CParamID parameterId) = 0;
    virtual AAX_Result PostReleaseRequest(AAX_CParamID parameterId) = 0;
    virtual AAX_Result GetTouchState(AAX_CParamID parameterId, AAX_CBoolean* touched) = 0;
};
