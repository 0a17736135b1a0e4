#pragma once
// `gui MODULE`: its options, registered on every platform (GuiCommandRegistration.cpp), and its
// run, which is the platform's: an X11 window (GuiCommand.cpp) or a refusal where the host has no
// editor window yet (GuiCommandUnavailable.cpp).

#include "tools/host/commands/CommandSupport.h"

#include <string>

namespace ombrelhost
{

struct GuiOptions
{
    std::string module;
    InstanceRequest request; // the layout only
    double seconds = 0.0;    // 0: until the window is closed (2 s with a screenshot)
    std::string screenshotPath;
};

int RunGui(const GuiOptions& options);

} // namespace ombrelhost
