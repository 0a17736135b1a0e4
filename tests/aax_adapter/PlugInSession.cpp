#include "tests/aax_adapter/PlugInSession.h"

#include "host_kit/Description.h"

#include <stdexcept>

PlugInSession::PlugInSession(const std::string& effectLibrary) : moduleBundle(effectLibrary)
{
    if (!loader.Load(moduleBundle.moduleFile()))
        throw std::runtime_error("cannot load the module: " + loader.Error());
    scanResult = testhost::Scan(loader, testHost);
}

PlugInSession::PlugInSession(const std::string& effectLibrary, const TestEffectConfig& config)
    : moduleBundle(effectLibrary)
{
    moduleBundle.configure(config);
    if (!loader.Load(moduleBundle.moduleFile()))
        throw std::runtime_error("cannot load the module: " + loader.Error());
    scanResult = testhost::Scan(loader, testHost);
}

PlugInSession::PlugInSession(const std::string& effectLibrary, const TestEffectConfig& config,
                             const std::string& identityJson)
    : moduleBundle(effectLibrary)
{
    moduleBundle.configure(config);
    moduleBundle.writeIdentity(identityJson);
    if (!loader.Load(moduleBundle.moduleFile()))
        throw std::runtime_error("cannot load the module: " + loader.Error());
    scanResult = testhost::Scan(loader, testHost);
}

PlugInSession::~PlugInSession()
{
    testhost::Shutdown(loader, testHost);
    loader.Unload();
}

const testhost::EffectDescription& PlugInSession::effect() const
{
    return scanResult.description.effects.at(0);
}

const testhost::ComponentDescription& PlugInSession::component(size_t index) const
{
    return effect().components.at(index);
}

AAX_CCreateProc PlugInSession::dataModelFactory() const
{
    return effect().CreateProc(kAAX_ProcPtrID_Create_EffectParameters);
}

AAX_CCreateProc PlugInSession::guiFactory() const
{
    return effect().CreateProc(kAAX_ProcPtrID_Create_EffectGUI);
}

const testhost::ComponentDescription& PlugInSession::useComponent(size_t index)
{
    const testhost::ComponentDescription& chosen = component(index);
    testHost.config.inputStemFormat = chosen.Property(AAX_eProperty_InputStemFormat);
    testHost.config.outputStemFormat = chosen.Property(AAX_eProperty_OutputStemFormat);
    return chosen;
}
