// Editor: opened in a window, idled, resized and closed several times, when a display is there.

#include "tools/host/validate/ValidationGroup.h"
#include "tools/host/validate/ValidationInstance.h"

#ifndef _WIN32
#include "tools/host/session/X11EditorWindow.h"
#endif
#include "host_kit/HostViewContainer.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace ombrelhost
{

namespace
{
constexpr int kFallbackSize = 400;
constexpr int kIdleTicks = 5;
constexpr auto kTickPeriod = std::chrono::milliseconds(20);
} // namespace

void RunEditorChecks(GroupContext& context)
{
#ifdef _WIN32
    // The reference host's editor window is an X11 window so far.
    context.Skip("editor", "no editor window in this build of the host");
}
#else
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
    {
        context.Skip("editor", "no display (DISPLAY is not set)");
        return;
    }
    ModuleSession session;
    if (!context.OpenModule(session, "editor"))
        return;
    std::string error;
    std::unique_ptr<ValidationInstance> instance =
        context.CreateInstance(session, context.Layouts().back(), kValidationRate, "instantiating", "editor");
    if (instance == nullptr)
        return;
    const int cycles = 2 + context.Strictness() / 2;
    int resizes = 0;
    for (int cycle = 0; cycle < cycles; ++cycle)
    {
        context.Step("opening the editor, cycle " + std::to_string(cycle + 1));
        testhost::GuiInstance* gui = session.NewGui(instance->DataModel(), error);
        if (gui == nullptr)
        {
            context.Fail("editor", error);
            return;
        }
        AAX_Point size{0.0f, 0.0f};
        const bool sized =
            (*gui)->GetViewSize(&size) == AAX_SUCCESS && size.horz >= 1.0f && size.vert >= 1.0f;
        X11EditorWindow window;
        if (!window.Open("ombrel-host validate", sized ? static_cast<int>(size.horz) : kFallbackSize,
                         sized ? static_cast<int>(size.vert) : kFallbackSize, error))
        {
            context.Skip("editor", "no window: " + error);
            return;
        }
        testhost::HostViewContainer* view =
            gui->AttachView(AAX_eViewContainer_Type_HWND, window.NativeHandle());
        context.Step("idling the editor, cycle " + std::to_string(cycle + 1));
        for (int tick = 0; tick < kIdleTicks * context.Strictness(); ++tick)
        {
            window.ProcessEvents();
            gui->Tick();
            instance->DataModel()->TimerWakeup();
            if (view != nullptr && static_cast<int>(view->RequestedSizes().size()) > resizes)
            {
                resizes = static_cast<int>(view->RequestedSizes().size());
                window.Resize(static_cast<int>(view->RequestedSizes().back().horz),
                              static_cast<int>(view->RequestedSizes().back().vert));
            }
            std::this_thread::sleep_for(kTickPeriod);
        }
        context.Step("resizing the window, cycle " + std::to_string(cycle + 1));
        window.Resize(window.Width() + 40, window.Height() + 30);
        window.ProcessEvents();
        gui->Tick();
        context.Step("closing the editor, cycle " + std::to_string(cycle + 1));
        gui->DetachView();
        window.Close();
    }
    context.Pass("editor opened, idled, resized and closed",
                 std::to_string(cycles) + " times, " + std::to_string(resizes) + " resize requests");
}
#endif

} // namespace ombrelhost
