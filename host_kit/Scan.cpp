#include "host_kit/Scan.h"

#include "host_kit/HostCollection.h"

namespace testhost
{

ScanResult Register(const ModuleLoader& module, TestHost& host)
{
    ScanResult result;
    const size_t collectionsBefore = host.All<HostCollection>().size();
    IACFPluginDefinition* definition = nullptr;
    result.registerResult = module.RegisterPlugin(host.Unknown(), &definition);
    if (definition != nullptr)
    {
        result.definitionReturned = true;
        // A host keeps the definition as long as it keeps the plug-in; the kit needs nothing of it.
        definition->Release();
    }
    const std::vector<HostCollection*> collections = host.All<HostCollection>();
    if (collections.size() > collectionsBefore)
        result.collection = collections.back();
    result.description = Describe(result.collection);
    return result;
}

ScanResult Scan(const ModuleLoader& module, TestHost& host)
{
    const ACFRESULT startup = module.Startup(host.Unknown());
    uint64_t version = 0;
    const ACFRESULT versionResult = module.GetSDKVersion(&version);
    ScanResult result = Register(module, host);
    result.startupResult = startup;
    result.sdkVersionResult = versionResult;
    result.sdkVersion = version;
    return result;
}

ACFRESULT Shutdown(const ModuleLoader& module, TestHost& host)
{
    return module.Shutdown(host.Unknown());
}

} // namespace testhost
