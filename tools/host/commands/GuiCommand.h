#pragma once
// `gui MODULE`: its options (GuiCommandRegistration.cpp) and its run (GuiCommand.cpp), in the
// platform's editor window: Win32 on Windows, X11 elsewhere.

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
