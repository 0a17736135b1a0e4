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

using namespace ombrelhost;

int PrintUsage(const CommandLine&)
{
    std::fputs(CommandLine::Usage().c_str(), stdout);
    return kExitSuccess;
}

int PrintCommandHelp(const CommandLine& commandLine)
{
    std::fputs(commandLine.HelpText().c_str(), stdout);
    return kExitSuccess;
}

struct CommandRunner
{
    const char* command; // as CommandLine::Command() answers it
    int (*run)(const CommandLine& commandLine);
};

constexpr CommandRunner kRunners[] = {
    {"help", PrintUsage},
    {"command help", PrintCommandHelp},
    {"scan", RunScan},
    {"bundle", RunBundle},
    {"params", RunParams},
    {"render", RunRender},
    {"state save", RunStateSave},
    {"state load", RunStateLoad},
    {"gui", RunGui},
    {"generate", RunGenerate},
    {"validate", RunValidate},
};

int Dispatch(const CommandLine& commandLine)
{
    const std::string& command = commandLine.Command();
    for (const CommandRunner& runner : kRunners)
        if (command == runner.command)
            return runner.run(commandLine);
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
