#pragma once
// The host's collection and the plug-in definition it hands back once registration is complete.

#include "aax_library/host/AAX_IACFCollection.h"
#include "host_kit/HostObject.h"

#include <string>
#include <vector>

namespace testhost
{

class HostEffectDescriptor;
class HostPropertyMap;

// What the host's collection answers for the plug-in definition; the host only passes it around.
class HostPluginDefinition : public IACFPluginDefinition, public HostObject
{
public:
    explicit HostPluginDefinition(TestHost& host) : HostObject(host, "PluginDefinition") {}
    TESTHOST_IACFUNKNOWN()

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;
};

struct EffectEntry
{
    std::string effectId;
    HostEffectDescriptor* descriptor = nullptr; // null when the argument was not this host's
};

class HostCollection : public AAX_IACFCollection, public HostObject
{
public:
    explicit HostCollection(TestHost& host) : HostObject(host, "Collection") {}
    TESTHOST_IACFUNKNOWN()

    AAX_Result Reserved3() override;
    AAX_Result Reserved4() override;
    AAX_Result Reserved5() override;
    AAX_Result Reserved6() override;
    AAX_Result AddEffect(const char* effectId, IACFUnknown* effectDescriptor) override;
    AAX_Result SetManufacturerName(const char* name) override;
    AAX_Result AddPackageName(const char* name) override;
    AAX_Result SetPackageVersion(uint32_t version) override;
    AAX_Result SetProperties(IACFUnknown* propertyMap) override;

    const std::vector<EffectEntry>& Effects() const { return mEffects; }
    const std::string& ManufacturerName() const { return mManufacturerName; }
    const std::vector<std::string>& PackageNames() const { return mPackageNames; }
    uint32_t PackageVersion() const { return mPackageVersion; }
    HostPropertyMap* Properties() const { return mProperties; }
    // The definition object, once the module has asked for it.
    HostPluginDefinition* Definition() const { return mDefinition; }

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    // Records a call at a reserved position and answers that nothing is there.
    AAX_Result ReservedCall(const char* operation);

    std::vector<EffectEntry> mEffects;
    std::string mManufacturerName;
    std::vector<std::string> mPackageNames;
    uint32_t mPackageVersion = 0;
    HostPropertyMap* mProperties = nullptr;
    HostPluginDefinition* mDefinition = nullptr;
};

} // namespace testhost
