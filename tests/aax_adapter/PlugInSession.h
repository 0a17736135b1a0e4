#pragma once
// The module in a bundle, loaded and scanned by the test host as an AAX host does it, with the
// factories and components of its description at hand. Shuts the module down and unloads it at
// the end; the test's instances must be gone by then.

#include "platform/NonCopyable.h"
#include "tests/aax_adapter/ModuleBundle.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The window the tests' host hands to an editor: an X11 window id, as a host hands it over in a
// type-3 container.
inline void* const kTestHostWindow = reinterpret_cast<void*>(uintptr_t{0x2a00007});

// The description's channel configurations, in its order.
enum ComponentIndex : size_t
{
    kMonoComponent = 0,
    kMonoToStereoComponent = 1,
    kStereoComponent = 2,
};

class PlugInSession : private NonCopyable
{
public:
    // effectLibrary: installed as Ombrel.dll (empty: none). A test effect is configured with config
    // before the module is loaded.
    explicit PlugInSession(const std::string& effectLibrary);
    PlugInSession(const std::string& effectLibrary, const TestEffectConfig& config);
    // The bundle also gets an identity file with the text identityJson.
    PlugInSession(const std::string& effectLibrary, const TestEffectConfig& config,
                  const std::string& identityJson);
    ~PlugInSession();

    ModuleBundle& bundle() { return moduleBundle; }
    testhost::TestHost& host() { return testHost; }
    const testhost::ModuleLoader& module() const { return loader; }
    const testhost::ScanResult& scan() const { return scanResult; }
    bool scanned() const { return scanResult.Succeeded() && scanResult.description.effects.size() == 1; }

    const testhost::EffectDescription& effect() const;
    const testhost::ComponentDescription& component(size_t index) const;
    AAX_CCreateProc dataModelFactory() const;
    AAX_CCreateProc guiFactory() const;
    // The host offers the stem formats of that component to instances made from now on.
    const testhost::ComponentDescription& useComponent(size_t index);

    // ACFCanUnloadNow as the host polls it.
    ACFRESULT liveObjects() const { return loader.CanUnloadNow(testHost.Unknown()); }

private:
    ModuleBundle moduleBundle;
    mutable testhost::TestHost testHost;
    testhost::ModuleLoader loader;
    testhost::ScanResult scanResult;
};
