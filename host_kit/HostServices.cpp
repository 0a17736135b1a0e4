#include "host_kit/HostServices.h"

#include "aax_library/AAX_GUIDs.h"

namespace testhost
{

IACFUnknown* HostServices::Lookup(const acfIID& iid)
{
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXHostServicesV1 && Config().hostServices != Offer::None)
        return this;
    return nullptr;
}

AAX_Result HostServices::HandleAssertFailure(const char* file, int32_t line, const char* note)
{
    Record("HandleAssertFailure", file, line, note);
    return Answer("HandleAssertFailure");
}

AAX_Result HostServices::Trace(int32_t priority, const char* message)
{
    Record("Trace", priority, message);
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mTraces.push_back({priority, ToText(message)});
    }
    return Answer("Trace");
}

std::vector<TraceMessage> HostServices::Traces() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mTraces;
}

} // namespace testhost
