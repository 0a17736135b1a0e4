// The loader for real: a shared library containing the bridge is placed in a folder with a test
// effect beside it as Ombrel.dll, opened from disk, and finds the effect through its own location.

#include "tests/effect_bridge/probe/BridgeProbe.h"
#include "tests/support/BuiltEffects.h"
#include "tests/support/BundleLayout.h"
#include "tests/support/ModuleLocationCases.h"
#include "tests/support/TemporaryFolder.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

namespace
{

class ModuleLocation : public ::testing::TestWithParam<ModuleLocationCase>
{
protected:
    TemporaryFolder folder{"ombrel-module"};
    const std::string& root = folder.path();

    // Lays out <root>/<binaryFolder>/Ombrel.aaxplugin (the probe) and, if wanted, Ombrel.dll beside it,
    // then loads one processor through the probe.
    ProbeReport loadFrom(const std::string& binaryFolder, bool withEffect = true)
    {
        const std::string directory = root + "/" + binaryFolder;
        layOutBundle(directory, OMBREL_BRIDGE_PROBE, withEffect ? testEffectPath() : "");
        return runProbe(
            bundledModuleFile(directory),
            [](const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }, dlsym, dlclose,
            [] { return dlerror(); });
    }
};

TEST_P(ModuleLocation, TheBridgeFindsTheEffectBesideItsOwnFile)
{
    const ModuleLocationCase& where = GetParam();
    expectProbeReport(loadFrom(where.binaryFolder, where.withEffect), where, root, '/', 3);
}

INSTANTIATE_TEST_SUITE_P(Bundles, ModuleLocation, ::testing::ValuesIn(kModuleLocationCases),
                         moduleLocationCaseName);

} // namespace
