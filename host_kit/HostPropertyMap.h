#pragma once
// The host's property map (both versions). Holds what the module put in it.

#include "aax_library/host/AAX_IACFPropertyMap.h"
#include "host_kit/HostObject.h"

#include <map>
#include <vector>

namespace testhost
{

class HostPropertyMap : public AAX_IACFPropertyMap_V2, public HostObject
{
public:
    explicit HostPropertyMap(TestHost& host) : HostObject(host, "PropertyMap") {}
    TESTHOST_IACFUNKNOWN()

    AAX_CBoolean GetProperty(int32_t id, int32_t* value) override;
    AAX_Result AddProperty(int32_t id, int32_t value) override;
    AAX_Result RemoveProperty(int32_t id) override;
    AAX_Result AddPropertyWithIDArray(int32_t id, const AAX_SPlugInIdentifierTriad* ids,
                                      uint32_t count) override;
    AAX_CBoolean GetPropertyWithIDArray(int32_t id, const AAX_SPlugInIdentifierTriad** ids,
                                        uint32_t* count) override;

    const std::map<int32_t, int32_t>& Properties() const { return mProperties; }
    // For tests that prepare a source map without going through the module.
    void Put(int32_t id, int32_t value) { mProperties[id] = value; }

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    std::map<int32_t, int32_t> mProperties;
    std::map<int32_t, std::vector<AAX_SPlugInIdentifierTriad>> mIdArrays;
};

} // namespace testhost
