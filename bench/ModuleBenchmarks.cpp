// The plug-in module's native process procedure, driven through the built module as an AAX host
// drives it: one call per block over the context records of 1, 4 or 16 instances of each of the
// three components, against the baseline of as many instances of the effect called directly. The same
// for one stereo instance of the light all-pass effect, whose short blocks show the module's fixed
// cost per block.
//
// The host offers no transport to these instances, so that what is timed is the module and not the
// test host's bookkeeping (see LoadedModule); a few more benchmarks keep the kit's transport, to
// show what that bookkeeping costs.

#include "bench/BenchmarkSuite.h"
#include "bench/DirectBaseline.h"
#include "bench/LoadedModule.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>

namespace
{

constexpr int32_t kBlockLengths[] = {32, 256, 1024};
constexpr int32_t kLightBlockLengths[] = {32, 64, 256, 1024};
constexpr int kLightInstances = 1;
constexpr const char* kLightLabel = "light";
constexpr int32_t kMaxBlockLength = 1024;
constexpr int kInstanceCounts[] = {1, 4, 16};
constexpr size_t kStereoComponent = 2;
constexpr int kKitTransportInstances = 1;
constexpr const char* kKitTransportSuffix = "/kit-transport";

// The components in the module's description order.
constexpr const char* kComponentNames[] = {"mono", "mono-to-stereo", "stereo"};

// The two installed plug-ins: the module with the example delay, and a copy of it with the light
// effect.
const std::string kBundleFolder = OMBREL_BUNDLE_DIR;
const std::string kLightBundleFolder = OMBREL_LIGHT_BUNDLE_DIR;
const std::string kModuleName = "/Ombrel.aaxplugin";
const std::string kEffectName = "/Ombrel.dll";

// Each loaded on first use and kept for the whole run, as a host keeps a plug-in module.
std::map<std::string, std::unique_ptr<LoadedModule>> loadedModules;

LoadedModule& module(const std::string& bundleFolder)
{
    std::unique_ptr<LoadedModule>& loaded = loadedModules[bundleFolder];
    if (loaded == nullptr)
        loaded = std::make_unique<LoadedModule>(bundleFolder + kModuleName, kMaxBlockLength);
    return *loaded;
}

std::string moduleName(size_t component, int instances, int32_t blockLength, const std::string& effectLabel)
{
    const std::string effect = effectLabel.empty() ? std::string() : effectLabel + "/";
    return std::string("Module/") + kComponentNames[component] + "/" + effect +
           "instances:" + std::to_string(instances) + "/block:" + std::to_string(blockLength);
}

void processThroughModule(benchmark::State& state, const std::string& bundleFolder, size_t component,
                          int instanceCount, int32_t blockLength, LoadedModule::HostTransport transport)
{
    LoadedModule& loaded = module(bundleFolder);
    if (!loaded.isReady())
    {
        state.SkipWithError(loaded.error().c_str());
        return;
    }
    const AAX_CProcessProc process = loaded.process(component);
    const std::vector<testhost::ProcessingContext*>* contexts =
        loaded.instances(component, instanceCount, transport);
    if (process == nullptr || contexts == nullptr)
    {
        state.SkipWithError(loaded.error().c_str());
        return;
    }
    for (testhost::ProcessingContext* context : *contexts)
        context->SetBlockLength(blockLength);

    // The host's call log would keep a record of every host call made while processing: it stays
    // off while the audio path runs.
    loaded.host().Log().SetEnabled(false);
    // One untimed call: a new block length prepares every instance again before its block.
    testhost::RunProcess(process, contexts->data(), contexts->size());
    testhost::ProcessingContext& first = *contexts->front();
    if (std::equal(first.Output(0), first.Output(0) + blockLength, first.Input(0)))
    {
        loaded.host().Log().SetEnabled(true);
        state.SkipWithError("the module left its input unchanged");
        return;
    }

    for (auto _ : state)
        testhost::RunProcess(process, contexts->data(), contexts->size());
    loaded.host().Log().SetEnabled(true);
    BenchmarkSuite::countSamples(state, static_cast<int64_t>(instanceCount) * blockLength);
}

void registerModule(const std::string& bundleFolder, const std::string& effectLabel, size_t component,
                    int instances, int32_t blockLength, LoadedModule::HostTransport transport,
                    const std::string& baseline)
{
    std::string name = moduleName(component, instances, blockLength, effectLabel);
    if (transport == LoadedModule::HostTransport::Kit)
        name += kKitTransportSuffix;
    BenchmarkSuite::add(
        name,
        [=](benchmark::State& state)
        { processThroughModule(state, bundleFolder, component, instances, blockLength, transport); },
        baseline);
}

// Each baseline comes just before the benchmarks compared with it, so that they run close in time
// on a machine whose load changes.
void registerBenchmarks()
{
    for (const int instances : kInstanceCounts)
        for (const int32_t blockLength : kBlockLengths)
        {
            const std::string baseline = directBaselineName(instances, blockLength);
            BenchmarkSuite::add(
                baseline, [instances, blockLength](benchmark::State& state)
                { processEffectsDirectly(state, kBundleFolder + kEffectName, instances, blockLength); });
            for (size_t component = 0; component < std::size(kComponentNames); ++component)
                registerModule(kBundleFolder, {}, component, instances, blockLength,
                               LoadedModule::HostTransport::None, baseline);
            if (instances == kKitTransportInstances)
                registerModule(kBundleFolder, {}, kStereoComponent, instances, blockLength,
                               LoadedModule::HostTransport::Kit, baseline);
        }
    for (const int32_t blockLength : kLightBlockLengths)
    {
        const std::string baseline = directBaselineName(kLightInstances, blockLength, kLightLabel);
        BenchmarkSuite::add(baseline,
                            [blockLength](benchmark::State& state) {
                                processEffectsDirectly(state, kLightBundleFolder + kEffectName,
                                                       kLightInstances, blockLength);
                            });
        registerModule(kLightBundleFolder, kLightLabel, kStereoComponent, kLightInstances, blockLength,
                       LoadedModule::HostTransport::None, baseline);
    }
}

} // namespace

int main(int argc, char** argv)
{
    registerBenchmarks();
    const int status = BenchmarkSuite::run(argc, argv);
    // The instances and the modules go before the program's statics.
    loadedModules.clear();
    return status;
}
