#include "host_kit/CallLog.h"

#include "aax_library/AAX_GUIDs.h"

#include <cinttypes>
#include <cstdio>

namespace testhost
{

std::string Call::ToString() const
{
    std::string text = interface + "#" + std::to_string(object) + "." + operation + "(";
    for (size_t i = 0; i < args.size(); ++i)
        text += (i > 0 ? ", " : "") + args[i];
    return text + ")";
}

void CallLog::Add(Call call)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (mEnabled)
        mCalls.push_back(std::move(call));
}

void CallLog::Clear()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mCalls.clear();
}

void CallLog::SetEnabled(bool enabled)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mEnabled = enabled;
}

std::vector<Call> CallLog::Calls() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mCalls;
}

std::vector<Call> CallLog::Find(const std::string& interface, const std::string& operation) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::vector<Call> found;
    for (const Call& call : mCalls)
        if (call.interface == interface && call.operation == operation)
            found.push_back(call);
    return found;
}

size_t CallLog::Count(const std::string& interface, const std::string& operation) const
{
    return Find(interface, operation).size();
}

std::vector<std::string> CallLog::Operations(const std::string& interface) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    std::vector<std::string> operations;
    for (const Call& call : mCalls)
        if (interface.empty() || call.interface == interface)
            operations.push_back(call.interface + "." + call.operation);
    return operations;
}

std::string CallLog::Dump() const
{
    std::string text;
    for (const Call& call : Calls())
        text += call.ToString() + "\n";
    return text;
}

std::string ToText(const std::string& text)
{
    return text;
}

std::string ToText(const char* text)
{
    return text != nullptr ? std::string(text) : std::string("(null)");
}

std::string ToText(bool value)
{
    return value ? "true" : "false";
}

std::string ToText(uint8_t value)
{
    return std::to_string(value);
}

std::string ToText(int32_t value)
{
    return std::to_string(value);
}

std::string ToText(uint32_t value)
{
    return std::to_string(value);
}

std::string ToText(int64_t value)
{
    return std::to_string(value);
}

std::string ToText(uint64_t value)
{
    return std::to_string(value);
}

std::string ToText(float value)
{
    return ToText(static_cast<double>(value));
}

std::string ToText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string ToText(const void* pointer)
{
    if (pointer == nullptr)
        return "null";
    char text[32];
    std::snprintf(text, sizeof text, "0x%" PRIxPTR, reinterpret_cast<uintptr_t>(pointer));
    return text;
}

std::string ToText(const acfIID& iid)
{
    return IdentifierName(iid);
}

std::string IdentifierName(const acfIID& iid)
{
    struct Named
    {
        const acfIID* iid;
        const char* name;
    };
    static const Named known[] = {
        {&IID_IACFUnknown, "IID_IACFUnknown"},
        {&IID_IACFPluginDefinition, "IID_IACFPluginDefinition"},
        {&IID_IACFComponentFactory, "IID_IACFComponentFactory"},
        {&AAXCompID_AAXCollection, "AAXCompID_AAXCollection"},
        {&IID_IAAXCollectionV1, "IID_IAAXCollectionV1"},
        {&AAXCompID_AAXEffectDescriptor, "AAXCompID_AAXEffectDescriptor"},
        {&IID_IAAXEffectDescriptorV1, "IID_IAAXEffectDescriptorV1"},
        {&IID_IAAXEffectDescriptorV2, "IID_IAAXEffectDescriptorV2"},
        {&AAXCompID_AAXComponentDescriptor, "AAXCompID_AAXComponentDescriptor"},
        {&IID_IAAXComponentDescriptorV1, "IID_IAAXComponentDescriptorV1"},
        {&IID_IAAXComponentDescriptorV2, "IID_IAAXComponentDescriptorV2"},
        {&AAXCompID_AAXPropertyMap, "AAXCompID_AAXPropertyMap"},
        {&IID_IAAXPropertyMapV1, "IID_IAAXPropertyMapV1"},
        {&IID_IAAXPropertyMapV2, "IID_IAAXPropertyMapV2"},
        {&AAXCompID_AAXHostServices, "AAXCompID_AAXHostServices"},
        {&IID_IAAXHostServicesV1, "IID_IAAXHostServicesV1"},
        {&IID_IAAXControllerV1, "IID_IAAXControllerV1"},
        {&IID_IAAXControllerV2, "IID_IAAXControllerV2"},
        {&IID_IAAXTransportV1, "IID_IAAXTransportV1"},
        {&IID_IAAXTransportV2, "IID_IAAXTransportV2"},
        {&IID_IAAXAutomationDelegateV1, "IID_IAAXAutomationDelegateV1"},
        {&IID_IAAXViewContainerV1, "IID_IAAXViewContainerV1"},
        {&IID_IAAXEffectParametersV1, "IID_IAAXEffectParametersV1"},
        {&IID_IAAXEffectParametersV2, "IID_IAAXEffectParametersV2"},
        {&IID_IAAXEffectGUIV1, "IID_IAAXEffectGUIV1"},
    };
    for (const Named& entry : known)
        if (*entry.iid == iid)
            return entry.name;
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", iid.Data1,
                  iid.Data2, iid.Data3, iid.Data4[0], iid.Data4[1], iid.Data4[2], iid.Data4[3], iid.Data4[4],
                  iid.Data4[5], iid.Data4[6], iid.Data4[7]);
    return text;
}

} // namespace testhost
