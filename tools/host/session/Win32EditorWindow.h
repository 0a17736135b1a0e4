#pragma once
// The native window the reference host gives an effect's editor on Windows: a plain top-level Win32
// window whose handle the module passes to the effect as the editor's parent. The effect's child
// windows live on this thread's message queue, which the host serves while the window is open.
// <windows.h> stays inside the .cpp, so its macros never meet JUCE's names.

#include "platform/NonCopyable.h"
#include "tools/host/session/EditorWindowCommon.h"

#include <string>

namespace ombrelhost
{

// What the window procedure learns about the window between two calls of ProcessEvents.
struct Win32WindowEvents
{
    bool closeRequested = false;
    bool destroyed = false;
};

class Win32EditorWindow : private NonCopyable
{
public:
    Win32EditorWindow() = default;
    ~Win32EditorWindow();

    // Whether a window can be opened here at all, said before anything is loaded: always on Windows.
    static bool CanOpen(std::string& reason);

    // [host thread] Creates and shows the window with a client area of the given size. False with a
    // reason. Every other call comes from the same thread.
    bool Open(const std::string& title, int width, int height, std::string& error);
    // The window handle, which view-container type 3 carries.
    void* NativeHandle() const { return mWindow; }
    // "Win32 window 0x...", for the host's output.
    std::string Describe() const;

    // Resizes the client area.
    void Resize(int width, int height);
    // The client area's current size.
    int Width() const;
    int Height() const;
    // Dispatches this thread's pending messages (the effect's windows' among them) without waiting;
    // false once the user has closed the window.
    bool ProcessEvents();
    // Reads back what the client area shows, the effect's child windows included, after they have
    // painted.
    bool Capture(CapturedPixels& pixels, std::string& error);
    void Close();

private:
    void* mWindow = nullptr; // HWND
    Win32WindowEvents mEvents;
};

} // namespace ombrelhost
