#pragma once
// The host's effect descriptor (both versions): names, category, procedures and components of one
// effect as the module describes it.

#include "aax_library/host/AAX_IACFEffectDescriptor.h"
#include "host_kit/HostObject.h"

#include <string>
#include <utility>
#include <vector>

namespace testhost
{

class HostComponentDescriptor;
class HostPropertyMap;

struct ProcPtrDeclaration
{
    void* proc = nullptr;
    int32_t procId = -1;
};

class HostEffectDescriptor : public AAX_IACFEffectDescriptor_V2, public HostObject
{
public:
    explicit HostEffectDescriptor(TestHost& host) : HostObject(host, "EffectDescriptor") {}
    TESTHOST_IACFUNKNOWN()

    AAX_Result AddComponent(IACFUnknown* componentDescriptor) override;
    AAX_Result AddName(const char* name) override;
    AAX_Result AddCategory(uint32_t category) override;
    AAX_Result AddCategoryBypassParameter(uint32_t category, const char* parameterId) override;
    AAX_Result AddProcPtr(void* proc, int32_t procId) override;
    AAX_Result SetProperties(IACFUnknown* propertyMap) override;
    AAX_Result AddResourceInfo(int32_t resourceType, const char* info) override;
    AAX_Result AddMeterDescription(uint32_t meterId, const char* name, IACFUnknown* propertyMap) override;
    AAX_Result AddControlMIDINode(uint32_t nodeId, int32_t nodeType, const char* name,
                                  uint32_t channelMask) override;

    // Components in the order added; an argument that was not one of this host's descriptors
    // appears as null.
    const std::vector<HostComponentDescriptor*>& Components() const { return mComponents; }
    const std::vector<std::string>& Names() const { return mNames; }
    const std::vector<uint32_t>& Categories() const { return mCategories; }
    const std::vector<ProcPtrDeclaration>& ProcPtrs() const { return mProcPtrs; }
    HostPropertyMap* Properties() const { return mProperties; }

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    std::vector<HostComponentDescriptor*> mComponents;
    std::vector<std::string> mNames;
    std::vector<uint32_t> mCategories;
    std::vector<ProcPtrDeclaration> mProcPtrs;
    HostPropertyMap* mProperties = nullptr;
};

} // namespace testhost
