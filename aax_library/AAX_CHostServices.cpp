#include "aax_library/AAX_CHostServices.h"

#include "aax_library/AAX_VHostServices.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace
{
// Owned between start-up and shut-down. A plain pointer on purpose: a module unloaded without
// shut-down must not call into a host that may already be gone from a static destructor.
std::atomic<AAX_VHostServices*> gHostServices{nullptr};
} // namespace

void AAX_CHostServices::Set(IACFUnknown* host)
{
    if (host != nullptr)
    {
        if (gHostServices.load() == nullptr)
            gHostServices.store(new AAX_VHostServices(host));
    }
    else if (AAX_VHostServices* old = gHostServices.exchange(nullptr))
    {
        delete old;
    }
}

AAX_IHostServices* AAX_CHostServices::Get()
{
    return gHostServices.load();
}

AAX_Result AAX_CHostServices::Trace(int32_t priority, const char* format, ...)
{
    AAX_VHostServices* services = gHostServices.load();
    if (services == nullptr)
        return AAX_SUCCESS;
    char message[kMaxTraceLength + 1] = {};
    if (format != nullptr)
    {
        va_list args;
        va_start(args, format);
        // vsnprintf cuts at the buffer's end and always terminates.
        std::vsnprintf(message, sizeof message, format, args);
        va_end(args);
    }
    return services->Trace(priority, message);
}

AAX_Result AAX_CHostServices::HandleAssertFailure(const char* file, int32_t line, const char* note)
{
    AAX_VHostServices* services = gHostServices.load();
    if (services == nullptr)
        return AAX_SUCCESS;
    return services->HandleAssertFailure(file, line, note);
}
