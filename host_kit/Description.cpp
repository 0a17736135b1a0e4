#include "host_kit/Description.h"

#include "host_kit/HostCollection.h"
#include "host_kit/HostConfig.h"
#include "host_kit/HostPropertyMap.h"

namespace testhost
{

const FieldDeclaration* ComponentDescription::FindField(int32_t field) const
{
    for (const FieldDeclaration& declaration : fields)
        if (declaration.field == field)
            return &declaration;
    return nullptr;
}

int32_t ComponentDescription::Property(int32_t id, int32_t fallback) const
{
    auto found = properties.find(id);
    return found != properties.end() ? found->second : fallback;
}

int32_t ComponentDescription::InputChannels() const
{
    return HasProperty(AAX_eProperty_InputStemFormat)
               ? AAX_STEM_FORMAT_CHANNEL_COUNT(Property(AAX_eProperty_InputStemFormat))
               : 0;
}

int32_t ComponentDescription::OutputChannels() const
{
    return HasProperty(AAX_eProperty_OutputStemFormat)
               ? AAX_STEM_FORMAT_CHANNEL_COUNT(Property(AAX_eProperty_OutputStemFormat))
               : 0;
}

void* EffectDescription::Proc(AAX_CProcPtrID procId) const
{
    for (const ProcPtrDeclaration& declaration : procPtrs)
        if (declaration.procId == procId)
            return declaration.proc;
    return nullptr;
}

AAX_CCreateProc EffectDescription::CreateProc(AAX_CProcPtrID procId) const
{
    return reinterpret_cast<AAX_CCreateProc>(Proc(procId));
}

Description Describe(const HostCollection* collection)
{
    Description description;
    if (collection == nullptr)
        return description;
    description.manufacturerName = collection->ManufacturerName();
    description.packageNames = collection->PackageNames();
    description.packageVersion = collection->PackageVersion();
    for (const EffectEntry& entry : collection->Effects())
    {
        EffectDescription effect;
        effect.effectId = entry.effectId;
        if (const HostEffectDescriptor* descriptor = entry.descriptor)
        {
            effect.names = descriptor->Names();
            effect.categories = descriptor->Categories();
            effect.procPtrs = descriptor->ProcPtrs();
            for (const HostComponentDescriptor* component : descriptor->Components())
            {
                ComponentDescription copy;
                if (component != nullptr)
                {
                    copy.fields = component->Fields();
                    if (!component->ProcessProcs().empty())
                    {
                        const ProcessProcDeclaration& proc = component->ProcessProcs().front();
                        copy.process = reinterpret_cast<AAX_CProcessProc>(proc.process);
                        copy.instanceInit = proc.instanceInit;
                        copy.background = proc.background;
                        if (proc.properties != nullptr)
                            copy.properties = proc.properties->Properties();
                    }
                }
                effect.components.push_back(std::move(copy));
            }
        }
        description.effects.push_back(std::move(effect));
    }
    return description;
}

} // namespace testhost
