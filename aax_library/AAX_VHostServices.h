#pragma once
// Forwards the plug-in side's host-services calls to the host's services.

#include "aax_library/AAX_IHostServices.h"
#include "aax_library/host/AAX_IACFHostServices.h"
#include "platform/NonCopyable.h"

class AAX_VHostServices : public AAX_IHostServices, private NonCopyable
{
public:
    // [host thread] creates the host services through the host's component factory; host may be null.
    explicit AAX_VHostServices(IACFUnknown* host);
    ~AAX_VHostServices() override;

    AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note) const override;
    AAX_Result Trace(int32_t priority, const char* message) const override;

private:
    AAX_IACFHostServices* mIHostServices = nullptr;
};
