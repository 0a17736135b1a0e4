#include "host_kit/HostComponentDescriptor.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostPropertyMap.h"
#include "host_kit/TestHost.h"

namespace testhost
{

IACFUnknown* HostComponentDescriptor::Lookup(const acfIID& iid)
{
    const Offer offer = Config().componentDescriptor;
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXComponentDescriptorV1 && offer != Offer::None)
        return this;
    if (iid == IID_IAAXComponentDescriptorV2 && offer == Offer::V2)
        return this;
    return nullptr;
}

AAX_Result HostComponentDescriptor::Declare(const char* operation, FieldDeclaration declaration)
{
    if (AAX_Result result = Answer(operation))
        return result;
    mFields.push_back(std::move(declaration));
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::Clear()
{
    Record("Clear");
    if (AAX_Result result = Answer("Clear"))
        return result;
    mFields.clear();
    mProcessProcs.clear();
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddReservedField(int32_t field, uint32_t fieldType)
{
    Record("AddReservedField", field, fieldType);
    return Declare("AddReservedField", {"ReservedField", field, {fieldType}, {}});
}

AAX_Result HostComponentDescriptor::AddAudioIn(int32_t field)
{
    Record("AddAudioIn", field);
    return Declare("AddAudioIn", {"AudioIn", field, {}, {}});
}

AAX_Result HostComponentDescriptor::AddAudioOut(int32_t field)
{
    Record("AddAudioOut", field);
    return Declare("AddAudioOut", {"AudioOut", field, {}, {}});
}

AAX_Result HostComponentDescriptor::AddAudioBufferLength(int32_t field)
{
    Record("AddAudioBufferLength", field);
    return Declare("AddAudioBufferLength", {"AudioBufferLength", field, {}, {}});
}

AAX_Result HostComponentDescriptor::AddSampleRate(int32_t field)
{
    Record("AddSampleRate", field);
    return Declare("AddSampleRate", {"SampleRate", field, {}, {}});
}

AAX_Result HostComponentDescriptor::AddClock(int32_t field)
{
    Record("AddClock", field);
    return Declare("AddClock", {"Clock", field, {}, {}});
}

AAX_Result HostComponentDescriptor::AddSideChainIn(int32_t field)
{
    Record("AddSideChainIn", field);
    return Declare("AddSideChainIn", {"SideChainIn", field, {}, {}});
}

AAX_Result HostComponentDescriptor::AddDataInPort(int32_t field, uint32_t packetSize, int32_t portType)
{
    Record("AddDataInPort", field, packetSize, portType);
    return Declare("AddDataInPort", {"DataInPort", field, {packetSize, portType}, {}});
}

AAX_Result HostComponentDescriptor::AddAuxOutputStem(int32_t field, int32_t stemFormat, const char* name)
{
    Record("AddAuxOutputStem", field, stemFormat, name);
    return Declare("AddAuxOutputStem", {"AuxOutputStem", field, {stemFormat}, ToText(name)});
}

AAX_Result HostComponentDescriptor::AddPrivateData(int32_t field, int32_t size, int32_t options)
{
    Record("AddPrivateData", field, size, options);
    return Declare("AddPrivateData", {"PrivateData", field, {size, options}, {}});
}

AAX_Result HostComponentDescriptor::AddDmaInstance(int32_t field, int32_t mode)
{
    Record("AddDmaInstance", field, mode);
    return Declare("AddDmaInstance", {"DmaInstance", field, {mode}, {}});
}

AAX_Result HostComponentDescriptor::AddMIDINode(int32_t field, int32_t nodeType, const char* name,
                                                uint32_t channelMask)
{
    Record("AddMIDINode", field, nodeType, name, channelMask);
    return Declare("AddMIDINode", {"MIDINode", field, {nodeType, channelMask}, ToText(name)});
}

AAX_Result HostComponentDescriptor::AddProcessProc_Native(void* process, IACFUnknown* propertyMap,
                                                          void* instanceInit, void* background,
                                                          uint32_t* outProcId)
{
    Record("AddProcessProc_Native", process, Host().Label(propertyMap), instanceInit, background,
           static_cast<const void*>(outProcId));
    if (AAX_Result result = Answer("AddProcessProc_Native"))
        return result;
    ProcessProcDeclaration declaration;
    declaration.process = process;
    declaration.properties = Host().Find<HostPropertyMap>(propertyMap);
    declaration.instanceInit = instanceInit;
    declaration.background = background;
    mProcessProcs.push_back(declaration);
    if (outProcId != nullptr)
        *outProcId = mNextProcId;
    ++mNextProcId;
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddProcessProc_TI(const char* moduleFile, const char* processSymbol,
                                                      IACFUnknown* propertyMap,
                                                      const char* instanceInitSymbol,
                                                      const char* backgroundSymbol, uint32_t* outProcId)
{
    Record("AddProcessProc_TI", moduleFile, processSymbol, Host().Label(propertyMap), instanceInitSymbol,
           backgroundSymbol, static_cast<const void*>(outProcId));
    if (AAX_Result result = Answer("AddProcessProc_TI"))
        return result;
    ProcessProcDeclaration declaration;
    declaration.native = false;
    declaration.properties = Host().Find<HostPropertyMap>(propertyMap);
    declaration.moduleFile = ToText(moduleFile);
    declaration.processSymbol = ToText(processSymbol);
    declaration.instanceInitSymbol = ToText(instanceInitSymbol);
    declaration.backgroundSymbol = ToText(backgroundSymbol);
    mProcessProcs.push_back(declaration);
    if (outProcId != nullptr)
        *outProcId = mNextProcId;
    ++mNextProcId;
    return AAX_SUCCESS;
}

AAX_Result HostComponentDescriptor::AddMeters(int32_t field, const uint32_t* meterIds, uint32_t count)
{
    Record("AddMeters", field, static_cast<const void*>(meterIds), count);
    FieldDeclaration declaration{"Meters", field, {}, {}};
    if (meterIds != nullptr)
        for (uint32_t i = 0; i < count; ++i)
            declaration.values.push_back(meterIds[i]);
    return Declare("AddMeters", std::move(declaration));
}

AAX_Result HostComponentDescriptor::AddTemporaryData(int32_t field, uint32_t elementSize)
{
    Record("AddTemporaryData", field, elementSize);
    return Declare("AddTemporaryData", {"TemporaryData", field, {elementSize}, {}});
}

} // namespace testhost
