// `scan MODULE [--json]`: start-up, registration and shut-down, with the description printed; on a
// folder of bundles, every bundle in it listed with its identifiers.

#include "tools/host/CommandSupport.h"
#include "tools/host/DescriptionReport.h"
#include "tools/host/bundle/BundleFolder.h"
#include "tools/host/bundle/FolderScan.h"

#include <cstdio>

namespace ombrelhost
{

int RunScan(const CommandLine& commandLine)
{
    if (IsFolderOfBundles(commandLine.Positional(0)))
        return ScanFolder(commandLine.Positional(0), commandLine.Has("json"));
    ModuleSession session;
    std::string error;
    if (!session.Open(commandLine.Positional(0), error))
        return Fail(error);
    const std::string report =
        commandLine.Has("json") ? DescriptionReport::Json(session) : DescriptionReport::Text(session);
    std::fputs(report.c_str(), stdout);
    return kExitSuccess;
}

} // namespace ombrelhost
