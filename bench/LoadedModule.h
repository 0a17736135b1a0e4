#pragma once
// The plug-in module as a host holds it through a benchmark run: loaded from the bundle, started
// and scanned once, with sets of initialised instances that stay alive until the end of the run,
// so that the benchmarks may run in any order without making instances again (making them is
// slow, and is not what is measured).

#include "host_kit/DataModelInstance.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/ProcessingContext.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"
#include "platform/NonCopyable.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

class LoadedModule : private NonCopyable
{
public:
    // The transport the host offers the instances. The kit's transport records every call it
    // answers, which costs far more than the module's own work on a short block, even with the
    // call log switched off; without a transport the module's wrapper answers its fixed fallbacks.
    enum class HostTransport
    {
        None,
        Kit,
    };

    // [main thread] Loads, starts and scans the module file; error() says why when it cannot.
    // Instances are made for blocks of up to maxBlockLength samples.
    LoadedModule(const std::string& moduleFile, int32_t maxBlockLength);
    // [main thread] Releases the instances, shuts the module down and unloads it.
    ~LoadedModule();

    bool isReady() const { return ready; }
    const std::string& error() const { return failure; }
    testhost::TestHost& host() { return testHost; }

    size_t componentCount() const;
    // The component's native process procedure, or null.
    AAX_CProcessProc process(size_t component) const;

    // [main thread] The context records of count initialised instances of the component, each with
    // the test signal in its inputs; made on the first request for this set and kept. Null (and
    // error() set) when one of them cannot be made.
    const std::vector<testhost::ProcessingContext*>* instances(size_t component, int count,
                                                               HostTransport transport);

private:
    struct Instance
    {
        std::unique_ptr<testhost::DataModelInstance> dataModel;
        std::unique_ptr<testhost::ProcessingContext> context;
    };
    struct InstanceSet
    {
        std::vector<Instance> instances;
        std::vector<testhost::ProcessingContext*> contexts;
    };
    using SetKey = std::tuple<size_t, int, HostTransport>;

    bool makeInstances(size_t component, int count, HostTransport transport, InstanceSet& set);
    static void release(InstanceSet& set);

    const int32_t maxBlock;
    testhost::TestHost testHost;
    testhost::ModuleLoader loader;
    testhost::ScanResult scan;
    bool started = false;
    bool ready = false;
    std::string failure;
    std::map<SetKey, InstanceSet> sets;
};
