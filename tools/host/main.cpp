// ombrel-host: the reference host. Loads an Ombrel.aaxplugin module through its exported entry
// points, exactly as an AAX host does, and scans, inspects, renders, saves, restores or shows it.

#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/CommandSupport.h"

#include <juce_events/juce_events.h>

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    int status = ombrelhost::kExitFailure;
    try
    {
        ombrelhost::CommandRegistry commands;
        status = commands.Run(argc, argv);
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
