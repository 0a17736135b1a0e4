#pragma once
// The host's controller of one plug-in instance, and the object the host hands to the instance's
// data-model and GUI Initialize: it answers for the controller, the instance's transport and
// automation delegate, and (for the GUI) the instance's own data-model object.

#include "aax_library/host/AAX_IACFController.h"
#include "host_kit/HostObject.h"

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace testhost
{

class HostTransport;
class HostAutomationDelegate;

struct PostedPacket
{
    int32_t field = -1;
    std::vector<uint8_t> payload;
};

struct SentNotification
{
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

class HostController : public AAX_IACFController_V2, public HostObject
{
public:
    explicit HostController(TestHost& host);

    // Forwards the data-model query to the instance's data model; everything else as usual.
    ACFRESULT QueryInterface(const acfIID& iid, void** out) override;
    uint32_t AddRef() override { return DoAddRef(); }
    uint32_t Release() override { return DoRelease(); }
    IACFUnknown* AsUnknown() override { return this; }

    AAX_Result GetEffectID(AAX_IString* effectId) override;
    AAX_Result GetSampleRate(float* sampleRate) override;
    AAX_Result GetInputStemFormat(int32_t* stemFormat) override;
    AAX_Result GetOutputStemFormat(int32_t* stemFormat) override;
    AAX_Result GetSignalLatency(int32_t* samples) override;
    AAX_Result GetCycleCount(int32_t which, int32_t* value) override;
    AAX_Result GetTODLocation(int64_t* timeOfDay) override;
    AAX_Result SetSignalLatency(int32_t samples) override;
    AAX_Result SetCycleCount(int32_t* ids, int32_t* values, int32_t count) override;
    AAX_Result PostPacket(int32_t field, const void* payload, uint32_t size) override;
    AAX_Result GetCurrentMeterValue(uint32_t meterId, float* value) override;
    AAX_Result GetMeterPeakValue(uint32_t meterId, float* value) override;
    AAX_Result ClearMeterPeakValue(uint32_t meterId) override;
    AAX_Result ClearMeterClipped(uint32_t meterId) override;
    AAX_Result GetMeterCount(uint32_t* count) override;
    AAX_Result GetMeterClipped(uint32_t meterId, AAX_CBoolean* clipped) override;
    AAX_Result GetNextMIDIPacket(int32_t* port, AAX_CMidiPacket* packet) override;
    AAX_Result SendNotification(uint32_t type, const void* data, uint32_t size) override;
    AAX_Result GetHybridSignalLatency(int32_t* samples) override;
    AAX_Result GetCurrentAutomationTimestamp(int64_t* timestamp) override;
    AAX_Result GetHostName(AAX_IString* name) override;

    // The instance's data model (borrowed), which the GUI's query for the data-model interface
    // reaches; set by DataModelInstance.
    void SetEffectParameters(IACFUnknown* dataModel) { mEffectParameters = dataModel; }
    HostTransport* Transport() const { return mTransport; }
    HostAutomationDelegate* AutomationDelegate() const { return mAutomationDelegate; }

    // [any thread] what the module told the host.
    int32_t SignalLatency() const;
    // How many times the module has told its latency (a module reports it again after it follows a
    // new sample rate).
    int64_t SignalLatencyReports() const;
    std::vector<PostedPacket> PostedPackets() const;
    // The last payload posted for a field; false when none was.
    bool LatestPacket(int32_t field, std::vector<uint8_t>* payload) const;
    std::vector<SentNotification> Notifications() const;
    // MIDI the host has for the module's GetNextMIDIPacket, in order.
    void QueueMidiPacket(int32_t port, const AAX_CMidiPacket& packet);

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    HostTransport* mTransport;                   // owned by the TestHost
    HostAutomationDelegate* mAutomationDelegate; // owned by the TestHost
    IACFUnknown* mEffectParameters = nullptr;    // borrowed

    mutable std::mutex mMutex;
    int32_t mSignalLatency = 0;
    int64_t mSignalLatencyReports = 0;
    std::vector<PostedPacket> mPackets;
    std::map<int32_t, std::vector<uint8_t>> mLatestPackets;
    std::vector<SentNotification> mNotifications;
    std::deque<std::pair<int32_t, AAX_CMidiPacket>> mMidi;
};

} // namespace testhost
