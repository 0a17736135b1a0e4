#include "tools/host/commands/CommandRegistry.h"
#include "tools/host/commands/GuiCommand.h"
#include "tools/host/commands/OptionChecks.h"

#include <memory>

namespace ombrelhost
{

void RegisterGuiCommand(CommandRegistry& registry)
{
    auto options = std::make_shared<GuiOptions>();
    CLI::App& command = registry.Add("gui", "the effect's editor in a window (needs DISPLAY)",
                                     [options] { return RunGui(*options); });
    AddModuleArgument(command, options->module);
    AddLayoutOption(command, options->request.layout);
    command.add_option("--seconds", options->seconds, "close the editor after N seconds (0: when closed)")
        ->check(Explained(CLI::PositiveNumber, "must be a number of seconds above 0"))
        ->type_name("N");
    command.add_option("--screenshot", options->screenshotPath, "the editor's window into a PNG file")
        ->type_name("FILE.png");
}

} // namespace ombrelhost
