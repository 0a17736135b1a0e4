// Feeds arbitrary bytes to the module as the data of a saved chunk, through its entry points, as a
// host restoring a session does: the test host kit loads the built bundle (the module with the
// example delay beside it) once, and each input goes to a long-lived instance. The first byte picks
// the chunk: even, the processor's state 'All '; odd, the controls 'elck'. Each kind has an instance
// of its own, because an instance that once restored 'All ' takes nothing from 'elck' any more.
// Before each input the instance gets back the chunk it saved when it was new, so that every input
// starts from the same state and a fault found is the last input's alone, reproducible by itself.
// After every input the instance must still save both chunks and process a block into finite
// samples: a restored state, however damaged, must leave the instance working.
//
// The bundle is the one the build lays out; OMBREL_FUZZ_MODULE names another module file.

#include "aax_library/AAX_Types.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/Description.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/ProcessingContext.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr AAX_CTypeID kStateChunk = AAX_FourCC('A', 'l', 'l', ' ');
constexpr AAX_CTypeID kControlsChunk = AAX_FourCC('e', 'l', 'c', 'k');
// Short blocks keep each input cheap; a few samples are enough to run the effect over its state.
constexpr int32_t kBlockLength = 32;

class Instance
{
public:
    Instance(testhost::TestHost& host, const testhost::EffectDescription& effect,
             const testhost::ComponentDescription& component)
        : dataModel(host, effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters)),
          context(component, kBlockLength), process(component.process)
    {
        OMBREL_FUZZ_CHECK(dataModel.InitializeResult() == AAX_SUCCESS);
        OMBREL_FUZZ_CHECK(context.ResetPrivateData(dataModel.Get()) == AAX_SUCCESS);
        context.SetBlockLength(kBlockLength);
    }

    // Keeps the instance's chunk of this kind as it is now, to start every input from.
    void KeepStartingState(AAX_CTypeID id)
    {
        OMBREL_FUZZ_CHECK(dataModel.GetChunk(id, &startingState) == AAX_SUCCESS);
    }

    // Restores the chunk, then checks that the instance still saves and processes.
    void Restore(AAX_CTypeID id, const uint8_t* data, size_t size)
    {
        OMBREL_FUZZ_CHECK(dataModel.SetChunk(startingState) == AAX_SUCCESS);
        chunk.id = id;
        chunk.data.assign(data, data + size);
        dataModel.SetChunk(chunk);

        OMBREL_FUZZ_CHECK(dataModel.GetChunk(kStateChunk, &saved) == AAX_SUCCESS);
        OMBREL_FUZZ_CHECK(dataModel.GetChunk(kControlsChunk, &saved) == AAX_SUCCESS);

        context.FillInputs(0.25f);
        testhost::RunProcess(process, {&context});
        for (int32_t channel = 0; channel < context.OutputCount(); ++channel)
            for (int32_t i = 0; i < kBlockLength; ++i)
                OMBREL_FUZZ_CHECK(std::isfinite(context.Output(channel)[i]));
    }

private:
    testhost::DataModelInstance dataModel;
    testhost::ProcessingContext context;
    AAX_CProcessProc process;
    testhost::SavedChunk startingState;
    testhost::SavedChunk chunk;
    testhost::SavedChunk saved;
};

// The module, started and scanned, with the two instances, for the whole run.
struct FuzzedModule
{
    ~FuzzedModule()
    {
        stateInstance.reset();
        controlsInstance.reset();
        testhost::Shutdown(loader, host);
        loader.Unload();
    }

    testhost::ModuleLoader loader;
    testhost::TestHost host;
    testhost::ScanResult scan;
    std::unique_ptr<Instance> stateInstance;
    std::unique_ptr<Instance> controlsInstance;
};

FuzzedModule* fuzzed = nullptr;

// The module is given back as a host closing does when the run ends, before the process's own
// teardown: its message thread must not outlive the statics it uses.
void CloseModule()
{
    delete fuzzed;
    fuzzed = nullptr;
}

std::string ModuleFile()
{
    if (const char* path = std::getenv("OMBREL_FUZZ_MODULE"))
        return path;
    return OMBREL_FUZZ_MODULE_FILE;
}

// The stereo component, which the example delay is built for.
const testhost::ComponentDescription& StereoComponent(const testhost::EffectDescription& effect)
{
    for (const auto& component : effect.components)
        if (component.InputChannels() == 2 && component.OutputChannels() == 2)
            return component;
    std::fprintf(stderr, "the module describes no stereo component\n");
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzed = new FuzzedModule;
    // The log would record every call of every input.
    fuzzed->host.Log().SetEnabled(false);
    const std::string path = ModuleFile();
    if (!fuzzed->loader.Load(path))
    {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), fuzzed->loader.Error().c_str());
        std::abort();
    }
    fuzzed->scan = testhost::Scan(fuzzed->loader, fuzzed->host);
    OMBREL_FUZZ_CHECK(fuzzed->scan.Succeeded() && !fuzzed->scan.description.effects.empty());
    const testhost::EffectDescription& effect = fuzzed->scan.description.effects.front();
    const testhost::ComponentDescription& component = StereoComponent(effect);
    fuzzed->host.config.inputStemFormat = component.Property(AAX_eProperty_InputStemFormat);
    fuzzed->host.config.outputStemFormat = component.Property(AAX_eProperty_OutputStemFormat);
    fuzzed->stateInstance = std::make_unique<Instance>(fuzzed->host, effect, component);
    fuzzed->controlsInstance = std::make_unique<Instance>(fuzzed->host, effect, component);
    fuzzed->stateInstance->KeepStartingState(kStateChunk);
    fuzzed->controlsInstance->KeepStartingState(kControlsChunk);
    std::atexit(CloseModule);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if ((data[0] & 1) == 0)
        fuzzed->stateInstance->Restore(kStateChunk, data + 1, size - 1);
    else
        fuzzed->controlsInstance->Restore(kControlsChunk, data + 1, size - 1);
    return 0;
}
