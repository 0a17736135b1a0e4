#include "host_kit/HostController.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostTransport.h"
#include "host_kit/TestHost.h"

namespace testhost
{

HostController::HostController(TestHost& host)
    : HostObject(host, "Controller"), mTransport(host.Create<HostTransport>()),
      mAutomationDelegate(host.Create<HostAutomationDelegate>())
{
}

ACFRESULT HostController::QueryInterface(const acfIID& iid, void** out)
{
    if (iid == IID_IAAXEffectParametersV1)
    {
        Record("QueryInterface", iid);
        if (out == nullptr)
            return ACF_E_POINTER;
        *out = nullptr;
        if (mEffectParameters == nullptr)
            return ACF_E_NOINTERFACE;
        return mEffectParameters->QueryInterface(iid, out);
    }
    return DoQueryInterface(iid, out);
}

IACFUnknown* HostController::Lookup(const acfIID& iid)
{
    const HostConfig& config = Config();
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXControllerV1 && config.controller != Offer::None)
        return this;
    if (iid == IID_IAAXControllerV2 && config.controller == Offer::V2)
        return this;
    if (iid == IID_IAAXTransportV1 && config.transport != Offer::None)
        return mTransport->AsUnknown();
    if (iid == IID_IAAXTransportV2 && config.transport == Offer::V2)
        return mTransport->AsUnknown();
    if (iid == IID_IAAXAutomationDelegateV1 && config.automationDelegate != Offer::None)
        return mAutomationDelegate->AsUnknown();
    return nullptr;
}

AAX_Result HostController::GetEffectID(AAX_IString* effectId)
{
    Record("GetEffectID", static_cast<const void*>(effectId));
    if (AAX_Result result = Answer("GetEffectID"))
        return result;
    if (effectId == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    effectId->Set(Config().effectId.c_str());
    return AAX_SUCCESS;
}

AAX_Result HostController::GetSampleRate(float* sampleRate)
{
    Record("GetSampleRate", static_cast<const void*>(sampleRate));
    if (AAX_Result result = Answer("GetSampleRate"))
        return result;
    if (sampleRate == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *sampleRate = Config().sampleRate;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetInputStemFormat(int32_t* stemFormat)
{
    Record("GetInputStemFormat", static_cast<const void*>(stemFormat));
    if (AAX_Result result = Answer("GetInputStemFormat"))
        return result;
    if (stemFormat == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *stemFormat = Config().inputStemFormat;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetOutputStemFormat(int32_t* stemFormat)
{
    Record("GetOutputStemFormat", static_cast<const void*>(stemFormat));
    if (AAX_Result result = Answer("GetOutputStemFormat"))
        return result;
    if (stemFormat == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *stemFormat = Config().outputStemFormat;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetSignalLatency(int32_t* samples)
{
    Record("GetSignalLatency", static_cast<const void*>(samples));
    if (AAX_Result result = Answer("GetSignalLatency"))
        return result;
    if (samples == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *samples = SignalLatency();
    return AAX_SUCCESS;
}

AAX_Result HostController::GetCycleCount(int32_t which, int32_t* value)
{
    Record("GetCycleCount", which, static_cast<const void*>(value));
    if (AAX_Result result = Answer("GetCycleCount"))
        return result;
    if (value == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *value = Config().cycleCount;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetTODLocation(int64_t* timeOfDay)
{
    Record("GetTODLocation", static_cast<const void*>(timeOfDay));
    if (AAX_Result result = Answer("GetTODLocation"))
        return result;
    if (timeOfDay == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *timeOfDay = Config().timeOfDay;
    return AAX_SUCCESS;
}

AAX_Result HostController::SetSignalLatency(int32_t samples)
{
    Record("SetSignalLatency", samples);
    if (AAX_Result result = Answer("SetSignalLatency"))
        return result;
    std::lock_guard<std::mutex> lock(mMutex);
    mSignalLatency = samples;
    ++mSignalLatencyReports;
    return AAX_SUCCESS;
}

AAX_Result HostController::SetCycleCount(int32_t* ids, int32_t* values, int32_t count)
{
    Record("SetCycleCount", static_cast<const void*>(ids), static_cast<const void*>(values), count);
    return Answer("SetCycleCount");
}

AAX_Result HostController::PostPacket(int32_t field, const void* payload, uint32_t size)
{
    std::vector<uint8_t> bytes;
    if (payload != nullptr)
        bytes.assign(static_cast<const uint8_t*>(payload), static_cast<const uint8_t*>(payload) + size);
    std::string hex;
    for (uint8_t byte : bytes)
    {
        static const char digits[] = "0123456789abcdef";
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    Record("PostPacket", field, hex, size);
    if (AAX_Result result = Answer("PostPacket"))
        return result;
    if (payload == nullptr && size > 0)
        return AAX_ERROR_NULL_OBJECT;
    std::lock_guard<std::mutex> lock(mMutex);
    mPackets.push_back({field, bytes});
    mLatestPackets[field] = bytes;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetCurrentMeterValue(uint32_t meterId, float* value)
{
    Record("GetCurrentMeterValue", meterId, static_cast<const void*>(value));
    if (AAX_Result result = Answer("GetCurrentMeterValue"))
        return result;
    if (value != nullptr)
        *value = 0.0f;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetMeterPeakValue(uint32_t meterId, float* value)
{
    Record("GetMeterPeakValue", meterId, static_cast<const void*>(value));
    if (AAX_Result result = Answer("GetMeterPeakValue"))
        return result;
    if (value != nullptr)
        *value = 0.0f;
    return AAX_SUCCESS;
}

AAX_Result HostController::ClearMeterPeakValue(uint32_t meterId)
{
    Record("ClearMeterPeakValue", meterId);
    return Answer("ClearMeterPeakValue");
}

AAX_Result HostController::ClearMeterClipped(uint32_t meterId)
{
    Record("ClearMeterClipped", meterId);
    return Answer("ClearMeterClipped");
}

AAX_Result HostController::GetMeterCount(uint32_t* count)
{
    Record("GetMeterCount", static_cast<const void*>(count));
    if (AAX_Result result = Answer("GetMeterCount"))
        return result;
    if (count == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *count = Config().meterCount;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetMeterClipped(uint32_t meterId, AAX_CBoolean* clipped)
{
    Record("GetMeterClipped", meterId, static_cast<const void*>(clipped));
    if (AAX_Result result = Answer("GetMeterClipped"))
        return result;
    if (clipped != nullptr)
        *clipped = 0;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetNextMIDIPacket(int32_t* port, AAX_CMidiPacket* packet)
{
    Record("GetNextMIDIPacket", static_cast<const void*>(port), static_cast<const void*>(packet));
    if (AAX_Result result = Answer("GetNextMIDIPacket"))
        return result;
    std::lock_guard<std::mutex> lock(mMutex);
    if (mMidi.empty())
        return AAX_ERROR_NULL_OBJECT;
    if (port != nullptr)
        *port = mMidi.front().first;
    if (packet != nullptr)
        *packet = mMidi.front().second;
    mMidi.pop_front();
    return AAX_SUCCESS;
}

AAX_Result HostController::SendNotification(uint32_t type, const void* data, uint32_t size)
{
    Record("SendNotification", type, data, size);
    if (AAX_Result result = Answer("SendNotification"))
        return result;
    std::vector<uint8_t> bytes;
    if (data != nullptr)
        bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    std::lock_guard<std::mutex> lock(mMutex);
    mNotifications.push_back({type, bytes});
    return AAX_SUCCESS;
}

AAX_Result HostController::GetHybridSignalLatency(int32_t* samples)
{
    Record("GetHybridSignalLatency", static_cast<const void*>(samples));
    if (AAX_Result result = Answer("GetHybridSignalLatency"))
        return result;
    if (samples == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *samples = Config().hybridSignalLatency;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetCurrentAutomationTimestamp(int64_t* timestamp)
{
    Record("GetCurrentAutomationTimestamp", static_cast<const void*>(timestamp));
    if (AAX_Result result = Answer("GetCurrentAutomationTimestamp"))
        return result;
    if (timestamp == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *timestamp = Config().automationTimestamp;
    return AAX_SUCCESS;
}

AAX_Result HostController::GetHostName(AAX_IString* name)
{
    Record("GetHostName", static_cast<const void*>(name));
    if (AAX_Result result = Answer("GetHostName"))
        return result;
    if (name == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    name->Set(Config().hostName.c_str());
    return AAX_SUCCESS;
}

int32_t HostController::SignalLatency() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mSignalLatency;
}

int64_t HostController::SignalLatencyReports() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mSignalLatencyReports;
}

std::vector<PostedPacket> HostController::PostedPackets() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mPackets;
}

bool HostController::LatestPacket(int32_t field, std::vector<uint8_t>* payload) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    auto found = mLatestPackets.find(field);
    if (found == mLatestPackets.end())
        return false;
    if (payload != nullptr)
        *payload = found->second;
    return true;
}

std::vector<SentNotification> HostController::Notifications() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mNotifications;
}

void HostController::QueueMidiPacket(int32_t port, const AAX_CMidiPacket& packet)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mMidi.emplace_back(port, packet);
}

} // namespace testhost
