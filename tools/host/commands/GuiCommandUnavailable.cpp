// The `gui` command where the host has no editor window of its own yet (Windows): it says so and
// fails, instead of pretending to show anything.

#include "tools/host/commands/GuiCommand.h"

namespace ombrelhost
{

int RunGui(const GuiOptions&)
{
    return Fail("the gui command is not available in this build: its editor window is an X11 window");
}

} // namespace ombrelhost
