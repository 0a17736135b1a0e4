#pragma once
// The native window the reference host gives an effect's editor on Linux: a plain top-level X11
// window whose id the module passes to the effect as the editor's parent. No toolkit; Xlib only.
// Xlib's headers stay inside the .cpp, so its macros never meet JUCE's names.

#include "platform/NonCopyable.h"

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

namespace ombrelhost
{

// A copy of the window's pixels, 0xAARRGGBB row by row.
struct CapturedPixels
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

class X11EditorWindow : private NonCopyable
{
public:
    X11EditorWindow() = default;
    ~X11EditorWindow();

    // Connects to the display DISPLAY names, creates and shows the window. False with a reason
    // (no DISPLAY, display unreachable).
    bool Open(const std::string& title, int width, int height, std::string& error);
    // The X11 window id, which view-container type 3 carries as a pointer-sized value.
    unsigned long WindowId() const { return mWindow; }
    void* NativeHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)); }

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
