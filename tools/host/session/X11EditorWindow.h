#pragma once
// The native window the reference host gives an effect's editor on Linux: a plain top-level X11
// window whose id the module passes to the effect as the editor's parent. No toolkit; Xlib only.
// Xlib's headers stay inside the .cpp, so its macros never meet JUCE's names.

#include "platform/NonCopyable.h"
#include "tools/host/session/EditorWindowCommon.h"

#include <cstdint>
#include <string>

struct _XDisplay;

namespace ombrelhost
{

class X11EditorWindow : private NonCopyable
{
public:
    X11EditorWindow() = default;
    ~X11EditorWindow();

    // Whether a window can be opened here at all, said before anything is loaded: false with the
    // reason when DISPLAY names no display.
    static bool CanOpen(std::string& reason);

    // Connects to the display DISPLAY names, creates and shows the window. False with a reason
    // (no DISPLAY, display unreachable).
    bool Open(const std::string& title, int width, int height, std::string& error);
    // The X11 window id, which view-container type 3 carries as a pointer-sized value.
    void* NativeHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)); }
    // "X11 window 0x...", for the host's output.
    std::string Describe() const;

    void Resize(int width, int height);
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    // Handles pending events without waiting; false once the user has closed the window.
    bool ProcessEvents();
    // Reads back what the window shows (the effect's child windows included).
    bool Capture(CapturedPixels& pixels, std::string& error);
    void Close();

private:
    _XDisplay* mDisplay = nullptr;
    unsigned long mWindow = 0;
    unsigned long mDeleteMessage = 0;
    int mWidth = 0;
    int mHeight = 0;
    bool mClosedByUser = false;
};

} // namespace ombrelhost
