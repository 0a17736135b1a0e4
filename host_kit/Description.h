#pragma once
// A plain copy of what a module described during registration: effects, their procedures and
// components with context fields and properties. Read back from the host's collection.

#include "aax_library/AAX_Enums.h"
#include "aax_library/AAX_Properties.h"
#include "aax_library/AAX_Types.h"
#include "host_kit/HostComponentDescriptor.h"
#include "host_kit/HostEffectDescriptor.h"

#include <map>
#include <string>
#include <vector>

namespace testhost
{

class HostCollection;

struct ComponentDescription
{
    std::vector<FieldDeclaration> fields;
    // The property map named with the first process procedure (empty without one).
    std::map<int32_t, int32_t> properties;
    AAX_CProcessProc process = nullptr;
    void* instanceInit = nullptr;
    void* background = nullptr;

    const FieldDeclaration* FindField(int32_t field) const;
    bool HasProperty(int32_t id) const { return properties.count(id) > 0; }
    int32_t Property(int32_t id, int32_t fallback = 0) const;
    // Channel counts from the stem-format properties (0 without them).
    int32_t InputChannels() const;
    int32_t OutputChannels() const;
};

struct EffectDescription
{
    std::string effectId;
    std::vector<std::string> names;
    std::vector<uint32_t> categories;
    std::vector<ProcPtrDeclaration> procPtrs;
    std::vector<ComponentDescription> components;

    // The procedure registered under procId (first of them), or null.
    void* Proc(AAX_CProcPtrID procId) const;
    AAX_CCreateProc CreateProc(AAX_CProcPtrID procId) const;
};

struct Description
{
    std::string manufacturerName;
    std::vector<std::string> packageNames;
    uint32_t packageVersion = 0;
    // Only effects added to the collection, in the order added.
    std::vector<EffectDescription> effects;
};

// A null collection gives an empty description.
Description Describe(const HostCollection* collection);

} // namespace testhost
