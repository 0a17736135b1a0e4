#include "aax_library/AAX_VAutomationDelegate.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* host)
{
    mIAutomationDelegate =
        AAX_QueryHostInterface<AAX_IACFAutomationDelegate>(host, IID_IAAXAutomationDelegateV1);
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate()
{
    AAX_ReleaseHostInterface(mIAutomationDelegate);
}

AAX_Result AAX_VAutomationDelegate::RegisterParameter(AAX_CParamID parameterId)
{
    if (mIAutomationDelegate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->RegisterParameter(parameterId);
}

AAX_Result AAX_VAutomationDelegate::UnregisterParameter(AAX_CParamID parameterId)
{
    if (mIAutomationDelegate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->UnregisterParameter(parameterId);
}

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest(AAX_CParamID parameterId,
                                                        double normalizedValue) const
{
    if (mIAutomationDelegate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostSetValueRequest(parameterId, normalizedValue);
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue(AAX_CParamID parameterId, double normalizedValue) const
{
    if (mIAutomationDelegate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostCurrentValue(parameterId, normalizedValue);
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest(AAX_CParamID parameterId)
{
    if (mIAutomationDelegate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostTouchRequest(parameterId);
}

AAX_Result AAX_VAutomationDelegate::PostReleaseRequest(AAX_CParamID parameterId)
{
    if (mIAutomationDelegate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->PostReleaseRequest(parameterId);
}

AAX_Result AAX_VAutomationDelegate::GetTouchState(AAX_CParamID parameterId, AAX_CBoolean* touched)
{
    if (mIAutomationDelegate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIAutomationDelegate->GetTouchState(parameterId, touched);
}
