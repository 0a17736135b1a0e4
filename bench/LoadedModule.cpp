#include "bench/LoadedModule.h"

#include "bench/TestSignal.h"
#include "host_kit/Description.h"

namespace
{

// What the kit offers unless told otherwise.
constexpr testhost::Offer kKitTransport = testhost::Offer::V2;

} // namespace

LoadedModule::LoadedModule(const std::string& moduleFile, int32_t maxBlockLength) : maxBlock(maxBlockLength)
{
    if (!loader.Load(moduleFile))
    {
        failure = "cannot load the module: " + loader.Error();
        return;
    }
    scan = testhost::Scan(loader, testHost);
    started = scan.startupResult == ACF_OK;
    if (!scan.Succeeded() || scan.description.effects.size() != 1)
    {
        failure = "the module's scan failed or described no single effect";
        return;
    }
    ready = true;
}

LoadedModule::~LoadedModule()
{
    for (auto& entry : sets)
        release(entry.second);
    sets.clear();
    if (started)
        testhost::Shutdown(loader, testHost);
    loader.Unload();
}

size_t LoadedModule::componentCount() const
{
    return ready ? scan.description.effects[0].components.size() : 0;
}

AAX_CProcessProc LoadedModule::process(size_t component) const
{
    return component < componentCount() ? scan.description.effects[0].components[component].process : nullptr;
}

void LoadedModule::release(InstanceSet& set)
{
    set.contexts.clear();
    // Each data model goes before the context whose private data points at it.
    for (Instance& instance : set.instances)
        instance.dataModel.reset();
    set.instances.clear();
}

const std::vector<testhost::ProcessingContext*>* LoadedModule::instances(size_t component, int count,
                                                                         HostTransport transport)
{
    if (!ready)
        return nullptr;
    if (component >= componentCount() || count <= 0)
    {
        failure = "no such component or count";
        return nullptr;
    }
    const SetKey key{component, count, transport};
    const auto found = sets.find(key);
    if (found != sets.end())
        return &found->second.contexts;
    InstanceSet set;
    if (!makeInstances(component, count, transport, set))
    {
        release(set);
        return nullptr;
    }
    return &sets.emplace(key, std::move(set)).first->second.contexts;
}

bool LoadedModule::makeInstances(size_t component, int count, HostTransport transport, InstanceSet& set)
{
    const testhost::EffectDescription& effect = scan.description.effects[0];
    const testhost::ComponentDescription& description = effect.components[component];
    // The host offers each instance the stem formats of the component it was made for.
    testHost.config.inputStemFormat = description.Property(AAX_eProperty_InputStemFormat);
    testHost.config.outputStemFormat = description.Property(AAX_eProperty_OutputStemFormat);
    testHost.config.sampleRate = static_cast<float>(testsignal::kSampleRate);
    testHost.config.transport = transport == HostTransport::Kit ? kKitTransport : testhost::Offer::None;
    const AAX_CCreateProc create = effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters);
    for (int i = 0; i < count; ++i)
    {
        Instance instance;
        instance.dataModel = std::make_unique<testhost::DataModelInstance>(testHost, create);
        instance.context = std::make_unique<testhost::ProcessingContext>(description, maxBlock);
        const bool made = instance.dataModel->IsValid() &&
                          instance.dataModel->InitializeResult() == AAX_SUCCESS &&
                          instance.context->ResetPrivateData(instance.dataModel->Get()) == AAX_SUCCESS;
        set.contexts.push_back(instance.context.get());
        set.instances.push_back(std::move(instance));
        if (!made)
        {
            failure = "an instance of the module could not be made and initialised";
            return false;
        }
        testhost::ProcessingContext& context = *set.contexts.back();
        context.SetSampleRate(static_cast<float>(testsignal::kSampleRate));
        for (int32_t c = 0; c < context.InputCount(); ++c)
            testsignal::fill(context.Input(c), maxBlock, c);
    }
    // What the host recorded while making them is of no further use.
    testHost.Log().Clear();
    return true;
}
