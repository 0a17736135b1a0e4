#pragma once
// Forwards the parameters' automation requests to the host's automation delegate.

#include "aax_library/AAX_IAutomationDelegate.h"
#include "aax_library/host/AAX_IACFAutomationDelegate.h"
#include "platform/NonCopyable.h"

class AAX_VAutomationDelegate : public AAX_IAutomationDelegate, private NonCopyable
{
public:
    // [host thread] queries the host object for the automation delegate; host may be null.
    explicit AAX_VAutomationDelegate(IACFUnknown* host);
    ~AAX_VAutomationDelegate() override;

    AAX_Result RegisterParameter(AAX_CParamID parameterId) override;
    AAX_Result UnregisterParameter(AAX_CParamID parameterId) override;
    AAX_Result PostSetValueRequest(AAX_CParamID parameterId, double normalizedValue) const override;
    AAX_Result PostCurrentValue(AAX_CParamID parameterId, double normalizedValue) const override;
    AAX_Result PostTouchRequest(AAX_CParamID parameterId) override;
    AAX_Result PostReleaseRequest(AAX_CParamID parameterId) override;
    AAX_Result GetTouchState(AAX_CParamID parameterId, AAX_CBoolean* touched) override;

private:
    AAX_IACFAutomationDelegate* mIAutomationDelegate = nullptr;
};
