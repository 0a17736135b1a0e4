#include "aax_library/AAX_VHostServices.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"

AAX_VHostServices::AAX_VHostServices(IACFUnknown* host)
{
    mIHostServices = static_cast<AAX_IACFHostServices*>(
        AAX_CreateHostComponent(host, AAXCompID_AAXHostServices, IID_IAAXHostServicesV1));
}

AAX_VHostServices::~AAX_VHostServices()
{
    AAX_ReleaseHostInterface(mIHostServices);
}

AAX_Result AAX_VHostServices::HandleAssertFailure(const char* file, int32_t line, const char* note) const
{
    if (mIHostServices == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIHostServices->HandleAssertFailure(file, line, note);
}

AAX_Result AAX_VHostServices::Trace(int32_t priority, const char* message) const
{
    if (mIHostServices == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIHostServices->Trace(priority, message);
}
