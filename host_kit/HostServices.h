#pragma once
// The host's services: records assertion reports and trace messages.

#include "aax_library/host/AAX_IACFHostServices.h"
#include "host_kit/HostObject.h"

#include <mutex>
#include <string>
#include <vector>

namespace testhost
{

struct TraceMessage
{
    int32_t priority = 0;
    std::string message;
};

class HostServices : public AAX_IACFHostServices, public HostObject
{
public:
    explicit HostServices(TestHost& host) : HostObject(host, "HostServices") {}
    TESTHOST_IACFUNKNOWN()

    AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note) override;
    AAX_Result Trace(int32_t priority, const char* message) override;

    // [any thread]
    std::vector<TraceMessage> Traces() const;

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    mutable std::mutex mMutex;
    std::vector<TraceMessage> mTraces;
};

} // namespace testhost
