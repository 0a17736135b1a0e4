#include "host_kit/HostAutomationDelegate.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/host/AAX_IACFEffectParameters.h"
#include "host_kit/AutomationRecorder.h"

namespace testhost
{

IACFUnknown* HostAutomationDelegate::Lookup(const acfIID& iid)
{
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXAutomationDelegateV1 && Config().automationDelegate != Offer::None)
        return this;
    return nullptr;
}

AAX_Result HostAutomationDelegate::RegisterParameter(const char* parameterId)
{
    Record("RegisterParameter", parameterId);
    if (AAX_Result result = Answer("RegisterParameter"))
        return result;
    std::lock_guard<std::mutex> lock(mMutex);
    mRegistered.insert(ToText(parameterId));
    return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::UnregisterParameter(const char* parameterId)
{
    Record("UnregisterParameter", parameterId);
    if (AAX_Result result = Answer("UnregisterParameter"))
        return result;
    std::lock_guard<std::mutex> lock(mMutex);
    mRegistered.erase(ToText(parameterId));
    return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::PostSetValueRequest(const char* parameterId, double normalizedValue)
{
    Record("PostSetValueRequest", parameterId, normalizedValue);
    if (AAX_Result result = Answer("PostSetValueRequest"))
        return result;
    std::function<void(const std::string&, double)> hook;
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mPending.emplace_back(ToText(parameterId), normalizedValue);
        if (mRecorder != nullptr)
            mRecorder->SetValueRequested(ToText(parameterId), normalizedValue);
        hook = mSetValueHook;
    }
    if (hook)
        hook(ToText(parameterId), normalizedValue);
    return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::PostCurrentValue(const char* parameterId, double normalizedValue)
{
    Record("PostCurrentValue", parameterId, normalizedValue);
    return Answer("PostCurrentValue");
}

AAX_Result HostAutomationDelegate::PostTouchRequest(const char* parameterId)
{
    Record("PostTouchRequest", parameterId);
    if (AAX_Result result = Answer("PostTouchRequest"))
        return result;
    std::lock_guard<std::mutex> lock(mMutex);
    mTouched.insert(ToText(parameterId));
    if (mRecorder != nullptr)
        mRecorder->Touched(ToText(parameterId));
    return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::PostReleaseRequest(const char* parameterId)
{
    Record("PostReleaseRequest", parameterId);
    if (AAX_Result result = Answer("PostReleaseRequest"))
        return result;
    std::lock_guard<std::mutex> lock(mMutex);
    mTouched.erase(ToText(parameterId));
    if (mRecorder != nullptr)
        mRecorder->Released(ToText(parameterId));
    return AAX_SUCCESS;
}

AAX_Result HostAutomationDelegate::GetTouchState(const char* parameterId, AAX_CBoolean* touched)
{
    Record("GetTouchState", parameterId, static_cast<const void*>(touched));
    if (AAX_Result result = Answer("GetTouchState"))
        return result;
    if (touched == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    std::lock_guard<std::mutex> lock(mMutex);
    *touched = mTouched.count(ToText(parameterId)) > 0 ? 1 : 0;
    return AAX_SUCCESS;
}

std::set<std::string> HostAutomationDelegate::Registered() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mRegistered;
}

std::set<std::string> HostAutomationDelegate::Touched() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mTouched;
}

std::vector<std::pair<std::string, double>> HostAutomationDelegate::PendingSetValueRequests() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mPending;
}

int HostAutomationDelegate::DeliverSetValueRequests(AAX_IACFEffectParameters* dataModel, int32_t source)
{
    std::vector<std::pair<std::string, double>> pending;
    {
        // Taken out first: the data model may post new requests while it handles these.
        std::lock_guard<std::mutex> lock(mMutex);
        pending.swap(mPending);
    }
    if (dataModel == nullptr)
        return 0;
    for (const auto& request : pending)
        dataModel->UpdateParameterNormalizedValue(request.first.c_str(), request.second, source);
    return static_cast<int>(pending.size());
}

void HostAutomationDelegate::AttachRecorder(AutomationRecorder* recorder)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mRecorder = recorder;
}

void HostAutomationDelegate::OnSetValueRequest(std::function<void(const std::string&, double)> hook)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mSetValueHook = std::move(hook);
}

} // namespace testhost
