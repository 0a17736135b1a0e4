#pragma once
// The host's automation delegate: keeps the registered parameters, touch state and the module's
// value requests, which a test can hand back to the data model as a real host would.

#include "aax_library/host/AAX_IACFAutomationDelegate.h"
#include "host_kit/HostObject.h"

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

class AAX_IACFEffectParameters;

namespace testhost
{

class AutomationRecorder;

class HostAutomationDelegate : public AAX_IACFAutomationDelegate, public HostObject
{
public:
    explicit HostAutomationDelegate(TestHost& host) : HostObject(host, "AutomationDelegate") {}
    TESTHOST_IACFUNKNOWN()

    AAX_Result RegisterParameter(const char* parameterId) override;
    AAX_Result UnregisterParameter(const char* parameterId) override;
    AAX_Result PostSetValueRequest(const char* parameterId, double normalizedValue) override;
    AAX_Result PostCurrentValue(const char* parameterId, double normalizedValue) override;
    AAX_Result PostTouchRequest(const char* parameterId) override;
    AAX_Result PostReleaseRequest(const char* parameterId) override;
    AAX_Result GetTouchState(const char* parameterId, AAX_CBoolean* touched) override;

    // [any thread]
    std::set<std::string> Registered() const;
    std::set<std::string> Touched() const;
    std::vector<std::pair<std::string, double>> PendingSetValueRequests() const;

    // [host thread] answers every pending set-value request with the data model's
    // UpdateParameterNormalizedValue (as a host does after accepting a request), in order, and
    // forgets them. Returns how many were delivered.
    int DeliverSetValueRequests(AAX_IACFEffectParameters* dataModel, int32_t source = 0);

    // [any thread] Touches, releases and set-value requests from now on also go to recorder
    // (borrowed; null stops). It must outlive its attachment.
    void AttachRecorder(AutomationRecorder* recorder);
    // [any thread] hook runs for every set-value request from now on, on the thread that posts it,
    // after the request is kept and outside the delegate's lock (empty: none).
    void OnSetValueRequest(std::function<void(const std::string& parameterId, double value)> hook);

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    mutable std::mutex mMutex;
    std::set<std::string> mRegistered;
    std::set<std::string> mTouched;
    std::vector<std::pair<std::string, double>> mPending;
    AutomationRecorder* mRecorder = nullptr;
    std::function<void(const std::string&, double)> mSetValueHook;
};

} // namespace testhost
