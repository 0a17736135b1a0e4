// `scan MODULE [--json]`: start-up, registration and shut-down, with the description printed; on a
// folder of bundles, every bundle in it listed with its identifiers.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"
#include "tools/host/bundle/BundleFolder.h"
#include "tools/host/bundle/FolderScan.h"
#include "tools/host/reports/DescriptionReport.h"

#include <cstdio>
#include <memory>

namespace ombrelhost
{

namespace
{

struct ScanOptions
{
    std::string module;
    bool json = false;
};

int RunScan(const ScanOptions& options)
{
    if (IsFolderOfBundles(options.module))
        return ScanFolder(options.module, options.json);
    ModuleSession session;
    std::string error;
    if (!session.Open(options.module, error))
        return Fail(error);
    const std::string report =
        options.json ? DescriptionReport::Json(session) : DescriptionReport::Text(session);
    std::fputs(report.c_str(), stdout);
    return kExitSuccess;
}

} // namespace

void RegisterScanCommand(CommandRegistry& registry)
{
    auto options = std::make_shared<ScanOptions>();
    CLI::App& command =
        registry.Add("scan",
                     "start-up, registration and shut-down; the module's description, or every bundle "
                     "of a plug-in folder with its identifiers",
                     [options] { return RunScan(*options); });
    AddModuleArgument(command, options->module)
        ->description("a module, its bundle folder or a plug-in folder");
    command.add_flag("--json", options->json, "the description (or the folder's list) as JSON");
}

} // namespace ombrelhost
