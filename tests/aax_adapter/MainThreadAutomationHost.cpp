#include "tests/aax_adapter/MainThreadAutomationHost.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"
#include "tests/support/TestWaiting.h"

#include <gtest/gtest.h>

namespace
{

// Far beyond any answer the main thread owes; only a deadlock waits this long.
constexpr auto kAnswerBound = std::chrono::seconds(20);

} // namespace

MainThreadAutomationDelegate::MainThreadAutomationDelegate(AAX_IACFAutomationDelegate* delegate)
    : kitDelegate(delegate), mainThread(std::this_thread::get_id())
{
}

ACFRESULT MainThreadAutomationDelegate::QueryInterface(const acfIID& iid, void** out)
{
    if (iid == IID_IACFUnknown || iid == IID_IAAXAutomationDelegateV1)
    {
        *out = this;
        AddRef();
        return ACF_OK;
    }
    *out = nullptr;
    return ACF_E_NOINTERFACE;
}

class MainThreadAutomationDelegate::InsideCall : private NonCopyable
{
public:
    explicit InsideCall(MainThreadAutomationDelegate& delegate) : delegate(delegate) { ++delegate.inside; }
    ~InsideCall() { --delegate.inside; }

private:
    MainThreadAutomationDelegate& delegate;
};

void MainThreadAutomationDelegate::arrive(const char* call, const char* parameterId, double value)
{
    std::unique_lock<std::mutex> guard(lock);
    recorded.push_back({call, parameterId != nullptr ? parameterId : "", value, std::this_thread::get_id(),
                        std::chrono::steady_clock::now()});
    if (!blocking || std::this_thread::get_id() == mainThread)
        return;
    const uint64_t ticket = ++asked;
    ++waiting;
    if (!answered.wait_for(guard, kAnswerBound, [&] { return answeredUpTo >= ticket || !blocking; }))
        ++unanswered;
    --waiting;
}

int MainThreadAutomationDelegate::waitingCalls() const
{
    const std::lock_guard<std::mutex> guard(lock);
    return waiting;
}

void MainThreadAutomationDelegate::setBlocking(bool block)
{
    const std::lock_guard<std::mutex> guard(lock);
    blocking = block;
    answered.notify_all();
}

void MainThreadAutomationDelegate::answerWaiting()
{
    const std::lock_guard<std::mutex> guard(lock);
    answeredUpTo = asked;
    answered.notify_all();
}

std::vector<MainThreadAutomationDelegate::Arrival> MainThreadAutomationDelegate::arrivals() const
{
    const std::lock_guard<std::mutex> guard(lock);
    return recorded;
}

int MainThreadAutomationDelegate::unansweredCalls() const
{
    const std::lock_guard<std::mutex> guard(lock);
    return unanswered;
}

AAX_Result MainThreadAutomationDelegate::RegisterParameter(const char* parameterId)
{
    return kitDelegate->RegisterParameter(parameterId);
}

AAX_Result MainThreadAutomationDelegate::UnregisterParameter(const char* parameterId)
{
    return kitDelegate->UnregisterParameter(parameterId);
}

AAX_Result MainThreadAutomationDelegate::PostSetValueRequest(const char* parameterId, double normalizedValue)
{
    const InsideCall counted(*this);
    arrive("set", parameterId, normalizedValue);
    return kitDelegate->PostSetValueRequest(parameterId, normalizedValue);
}

AAX_Result MainThreadAutomationDelegate::PostCurrentValue(const char* parameterId, double normalizedValue)
{
    return kitDelegate->PostCurrentValue(parameterId, normalizedValue);
}

AAX_Result MainThreadAutomationDelegate::PostTouchRequest(const char* parameterId)
{
    const InsideCall counted(*this);
    arrive("touch", parameterId, 0.0);
    return kitDelegate->PostTouchRequest(parameterId);
}

AAX_Result MainThreadAutomationDelegate::PostReleaseRequest(const char* parameterId)
{
    const InsideCall counted(*this);
    arrive("release", parameterId, 0.0);
    return kitDelegate->PostReleaseRequest(parameterId);
}

AAX_Result MainThreadAutomationDelegate::GetTouchState(const char* parameterId, AAX_CBoolean* touched)
{
    return kitDelegate->GetTouchState(parameterId, touched);
}

//==============================================================================
// The test host's controller, with the main-thread delegate in place of its own.
class MainThreadAutomationInstance::Controller final : public IACFUnknown
{
public:
    Controller(testhost::HostController* controller, MainThreadAutomationDelegate* delegate)
        : controller(controller), delegate(delegate)
    {
    }
    ACFRESULT QueryInterface(const acfIID& iid, void** out) override
    {
        if (iid == IID_IAAXAutomationDelegateV1)
            return delegate->QueryInterface(iid, out);
        return controller->QueryInterface(iid, out);
    }
    uint32_t AddRef() override { return controller->AddRef(); }
    uint32_t Release() override { return controller->Release(); }

private:
    testhost::HostController* controller;
    MainThreadAutomationDelegate* delegate;
};

MainThreadAutomationInstance::MainThreadAutomationInstance(PlugInSession& session, size_t componentIndex,
                                                           int32_t maxBlockLength)
    : component(session.useComponent(componentIndex)),
      dataModel(session.host(), session.dataModelFactory(), false),
      delegate(dataModel.Controller()->AutomationDelegate()), context(component, maxBlockLength),
      controller(std::make_unique<Controller>(dataModel.Controller(), &delegate))
{
    if (!dataModel.IsValid())
        return;
    initializeResult = dataModel.ModuleObject<AAX_IACFEffectParameters_V2>::Initialize(controller.get());
    if (initializeResult == AAX_SUCCESS)
        privateDataResult = context.ResetPrivateData(dataModel.Get());
}

MainThreadAutomationInstance::~MainThreadAutomationInstance()
{
    if (dataModel.IsInitialized())
        dataModel.Uninitialize();
    // A request that was under way when teardown began still waits: the main thread answers it,
    // and the delegate goes only once it has returned and the module has let go of the delegate.
    EXPECT_TRUE(waitFor(
        [&]
        {
            delegate.answerWaiting();
            return delegate.callsInside() == 0 && delegate.referencesHeld() == 0;
        }));
}
