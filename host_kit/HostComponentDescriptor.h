#pragma once
// The host's component descriptor (both versions): the context fields, meters and process
// procedures one processing configuration declares.

#include "aax_library/host/AAX_IACFComponentDescriptor.h"
#include "host_kit/HostObject.h"

#include <string>
#include <vector>

namespace testhost
{

class HostPropertyMap;

// One context field as declared. kind is the operation without its "Add" prefix ("AudioIn",
// "DataInPort", "MIDINode", "PrivateData", ...); values are its numeric arguments in order.
struct FieldDeclaration
{
    std::string kind;
    int32_t field = -1;
    std::vector<int64_t> values;
    std::string name; // MIDI node or aux output stem name
};

struct ProcessProcDeclaration
{
    bool native = true;
    void* process = nullptr;
    HostPropertyMap* properties = nullptr; // the host's map the module named, or null
    void* instanceInit = nullptr;
    void* background = nullptr;
    // Only for the TI form.
    std::string moduleFile, processSymbol, instanceInitSymbol, backgroundSymbol;
};

class HostComponentDescriptor : public AAX_IACFComponentDescriptor_V2, public HostObject
{
public:
    explicit HostComponentDescriptor(TestHost& host) : HostObject(host, "ComponentDescriptor") {}
    TESTHOST_IACFUNKNOWN()

    AAX_Result Clear() override;
    AAX_Result AddReservedField(int32_t field, uint32_t fieldType) override;
    AAX_Result AddAudioIn(int32_t field) override;
    AAX_Result AddAudioOut(int32_t field) override;
    AAX_Result AddAudioBufferLength(int32_t field) override;
    AAX_Result AddSampleRate(int32_t field) override;
    AAX_Result AddClock(int32_t field) override;
    AAX_Result AddSideChainIn(int32_t field) override;
    AAX_Result AddDataInPort(int32_t field, uint32_t packetSize, int32_t portType) override;
    AAX_Result AddAuxOutputStem(int32_t field, int32_t stemFormat, const char* name) override;
    AAX_Result AddPrivateData(int32_t field, int32_t size, int32_t options) override;
    AAX_Result AddDmaInstance(int32_t field, int32_t mode) override;
    AAX_Result AddMIDINode(int32_t field, int32_t nodeType, const char* name, uint32_t channelMask) override;
    AAX_Result AddProcessProc_Native(void* process, IACFUnknown* propertyMap, void* instanceInit,
                                     void* background, uint32_t* outProcId) override;
    AAX_Result AddProcessProc_TI(const char* moduleFile, const char* processSymbol, IACFUnknown* propertyMap,
                                 const char* instanceInitSymbol, const char* backgroundSymbol,
                                 uint32_t* outProcId) override;
    AAX_Result AddMeters(int32_t field, const uint32_t* meterIds, uint32_t count) override;
    AAX_Result AddTemporaryData(int32_t field, uint32_t elementSize) override;

    const std::vector<FieldDeclaration>& Fields() const { return mFields; }
    const std::vector<ProcessProcDeclaration>& ProcessProcs() const { return mProcessProcs; }

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    AAX_Result Declare(const char* operation, FieldDeclaration declaration);

    std::vector<FieldDeclaration> mFields;
    std::vector<ProcessProcDeclaration> mProcessProcs;
    uint32_t mNextProcId = 1;
};

} // namespace testhost
