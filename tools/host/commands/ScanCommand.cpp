// `scan MODULE [--json]`: start-up, registration and shut-down, with the description printed.

#include "tools/host/commands/CommandSupport.h"
#include "tools/host/reports/DescriptionReport.h"

#include <cstdio>

namespace ombrelhost
{

int RunScan(const CommandLine& commandLine)
{
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
