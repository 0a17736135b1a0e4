#pragma once
// A host whose automation delegate serves the module on the host's main thread only, as hosts do
// that hand every request to their main thread: a call made on another thread waits until the main
// thread answers it. It records what arrives and on which thread, and forwards every call to the
// test host's own delegate. An instance of the module is made and initialised with a controller
// that offers this delegate in place of the test host's.

#include "tests/aax_adapter/PlugInSession.h"
#include "aax_library/host/AAX_IACFAutomationDelegate.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/ProcessingContext.h"
#include "platform/NonCopyable.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testhost
{
class HostController;
}

class MainThreadAutomationDelegate final : public AAX_IACFAutomationDelegate, private NonCopyable
{
public:
    struct Arrival
    {
        std::string call; // "touch", "set" or "release"
        std::string id;
        double value = 0.0; // set only
        std::thread::id thread;
        std::chrono::steady_clock::time_point at;
    };

    // The constructing thread is the main thread. kitDelegate (borrowed) receives every call.
    explicit MainThreadAutomationDelegate(AAX_IACFAutomationDelegate* kitDelegate);

    ACFRESULT QueryInterface(const acfIID& iid, void** out) override;
    // Counted, so that the host knows when the module has let go of the delegate.
    uint32_t AddRef() override { return static_cast<uint32_t>(++references); }
    uint32_t Release() override { return static_cast<uint32_t>(--references); }
    AAX_Result RegisterParameter(const char* parameterId) override;
    AAX_Result UnregisterParameter(const char* parameterId) override;
    AAX_Result PostSetValueRequest(const char* parameterId, double normalizedValue) override;
    AAX_Result PostCurrentValue(const char* parameterId, double normalizedValue) override;
    AAX_Result PostTouchRequest(const char* parameterId) override;
    AAX_Result PostReleaseRequest(const char* parameterId) override;
    AAX_Result GetTouchState(const char* parameterId, AAX_CBoolean* touched) override;

    // [main thread] Whether calls from other threads wait for the main thread (off at first).
    void setBlocking(bool blocking);
    // [main thread] Answers every call waiting now.
    void answerWaiting();
    // [any thread]
    std::vector<Arrival> arrivals() const;
    // Calls that waited longer than the generous bound without an answer: a deadlock, cut short.
    int unansweredCalls() const;
    // [any thread] Calls waiting for the main thread's answer now, and calls inside this delegate
    // now (waiting or passing on to the kit's delegate).
    int waitingCalls() const;
    int callsInside() const { return inside.load(); }
    // [any thread] References the module holds (taken by QueryInterface and AddRef).
    int referencesHeld() const { return references.load(); }

private:
    // Waits for the main thread's answer when blocking and called elsewhere; records the arrival.
    void arrive(const char* call, const char* parameterId, double value);

    // Counts a call inside this delegate for as long as it is.
    class InsideCall;

    AAX_IACFAutomationDelegate* const kitDelegate;
    std::atomic<int> inside{0};
    std::atomic<int> references{0};
    const std::thread::id mainThread;
    mutable std::mutex lock;
    std::condition_variable answered;
    bool blocking = false;
    uint64_t asked = 0;
    uint64_t answeredUpTo = 0;
    int unanswered = 0;
    int waiting = 0;
    std::vector<Arrival> recorded;
};

// One data-model object initialised with a controller that offers the delegate above, and a
// processing context whose private data names it. On destruction uninitialises it with the
// delegate still blocking (teardown must not wait for a request that waits for this thread), then,
// as a main thread back in its loop, answers whatever still waits and releases the object once no
// call is inside the delegate and the module holds no reference to it.
class MainThreadAutomationInstance : private NonCopyable
{
public:
    MainThreadAutomationInstance(PlugInSession& session, size_t componentIndex, int32_t maxBlockLength);
    ~MainThreadAutomationInstance();

    bool ready() const { return initializeResult == AAX_SUCCESS && privateDataResult == AAX_SUCCESS; }

    const testhost::ComponentDescription& component;
    testhost::DataModelInstance dataModel;
    MainThreadAutomationDelegate delegate;
    testhost::ProcessingContext context;

private:
    class Controller;
    std::unique_ptr<Controller> controller;
    AAX_Result initializeResult = AAX_ERROR_NOT_INITIALIZED;
    AAX_Result privateDataResult = AAX_ERROR_NOT_INITIALIZED;
};
