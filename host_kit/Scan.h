#pragma once
// A whole scan as an AAX host runs it: start-up, version query, registration with the host's
// collection, then the description read back from that collection.

#include "host_kit/Description.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/TestHost.h"

#include <cstdint>

namespace testhost
{

struct ScanResult
{
    ACFRESULT startupResult = ACF_E_UNEXPECTED;
    ACFRESULT sdkVersionResult = ACF_E_UNEXPECTED;
    ACFRESULT registerResult = ACF_E_UNEXPECTED;
    uint64_t sdkVersion = 0;
    // Whether registration handed back a plug-in definition (the scan releases it again).
    bool definitionReturned = false;
    // The collection the module filled (the last one created during registration), or null.
    HostCollection* collection = nullptr;
    Description description;

    bool Succeeded() const { return startupResult == ACF_OK && registerResult == ACF_OK; }
};

// [host thread] ACFStartup, ACFGetSDKVersion, ACFRegisterPlugin. The module stays started: call
// Shutdown once the instances made from the description are gone.
ScanResult Scan(const ModuleLoader& module, TestHost& host);
// [host thread] ACFRegisterPlugin alone, on a module that is already started.
ScanResult Register(const ModuleLoader& module, TestHost& host);
// [host thread] ACFShutdown with the host object.
ACFRESULT Shutdown(const ModuleLoader& module, TestHost& host);

} // namespace testhost
