// ombrel-host: the reference host. Loads an Ombrel.aaxplugin module through its exported entry
// points, exactly as an AAX host does, and scans, inspects, renders, saves, restores or shows it.

#include "tools/host/CommandLine.h"
#include "tools/host/CommandSupport.h"

#include <juce_events/juce_events.h>

#include <cstdio>
#include <exception>
#include <string>

namespace
{

int Dispatch(const ombrelhost::CommandLine& commandLine)
{
    using namespace ombrelhost;
    const std::string& command = commandLine.Command();
    if (command == "help")
    {
        std::fputs(CommandLine::Usage().c_str(), stdout);
        return kExitSuccess;
    }
    if (command == "command help")
    {
        std::fputs(commandLine.HelpText().c_str(), stdout);
        return kExitSuccess;
    }
    if (command == "scan")
        return RunScan(commandLine);
    if (command == "params")
        return RunParams(commandLine);
    if (command == "render")
        return RunRender(commandLine);
    if (command == "state save")
        return RunStateSave(commandLine);
    if (command == "state load")
        return RunStateLoad(commandLine);
    if (command == "gui")
        return RunGui(commandLine);
    if (command == "generate")
        return RunGenerate(commandLine);
    if (command == "validate")
        return RunValidate(commandLine);
    return UsageError("unknown command `" + command + "`");
}

} // namespace

int main(int argc, char** argv)
{
    ombrelhost::CommandLine commandLine;
    std::string error;
    if (!commandLine.Parse(argc, argv, error))
    {
        std::fprintf(stderr, "ombrel-host: %s\n\n%s", error.c_str(),
                     ombrelhost::CommandLine::Usage().c_str());
        return ombrelhost::kExitUsage;
    }
    int status = ombrelhost::kExitFailure;
    try
    {
        status = Dispatch(commandLine);
    }
    catch (const std::exception& exception)
    {
        status = ombrelhost::Fail(std::string("unexpected failure: ") + exception.what());
    }
    catch (...)
    {
        status = ombrelhost::Fail("unexpected failure");
    }
    std::fflush(stdout);
    // The host's own JUCE objects (fonts, image caches) go before the process does.
    juce::DeletedAtShutdown::deleteAll();
    return status;
}
