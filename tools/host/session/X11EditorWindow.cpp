#include "tools/host/session/X11EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace ombrelhost
{

namespace
{

constexpr const char* kNoDisplay =
    "no X display: DISPLAY is not set (run it in a desktop session, or under scripts/with-display)";
constexpr auto kMapTimeout = std::chrono::seconds(5);

// Xlib's default handler ends the process on any protocol error; a host must survive a window
// that went away under it (an effect destroying its child, say) and report instead.
int gLastXError = 0;
int RecordXError(Display*, XErrorEvent* event)
{
    gLastXError = event->error_code;
    return 0;
}

int ChannelValue(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0)
        ++shift;
    const unsigned long maximum = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255u / maximum);
}

} // namespace

X11EditorWindow::~X11EditorWindow()
{
    Close();
}

bool X11EditorWindow::CanOpen(std::string& reason)
{
    const char* name = std::getenv("DISPLAY");
    if (name != nullptr && *name != '\0')
        return true;
    reason = kNoDisplay;
    return false;
}

std::string X11EditorWindow::Describe() const
{
    char text[64];
    std::snprintf(text, sizeof(text), "X11 window 0x%lx", mWindow);
    return text;
}

bool X11EditorWindow::Open(const std::string& title, int width, int height, std::string& error)
{
    Close();
    if (!CanOpen(error))
        return false;
    const char* name = std::getenv("DISPLAY");
    mDisplay = XOpenDisplay(nullptr);
    if (mDisplay == nullptr)
    {
        error = std::string("cannot open the X display ") + name;
        return false;
    }
    XSetErrorHandler(RecordXError);
    mWidth = std::clamp(width, kEditorWindowMinimumSize, kEditorWindowMaximumSize);
    mHeight = std::clamp(height, kEditorWindowMinimumSize, kEditorWindowMaximumSize);
    const int screen = DefaultScreen(mDisplay);
    mWindow = XCreateSimpleWindow(mDisplay, RootWindow(mDisplay, screen), 0, 0, static_cast<unsigned>(mWidth),
                                  static_cast<unsigned>(mHeight), 0, BlackPixel(mDisplay, screen),
                                  kEditorWindowBackground);
    XStoreName(mDisplay, mWindow, title.c_str());
    XSelectInput(mDisplay, mWindow, StructureNotifyMask | ExposureMask);
    Atom deleteMessage = XInternAtom(mDisplay, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(mDisplay, mWindow, &deleteMessage, 1);
    mDeleteMessage = deleteMessage;
    XMapWindow(mDisplay, mWindow);
    XFlush(mDisplay);

    // The editor is opened into the window only once it is on screen.
    const auto deadline = std::chrono::steady_clock::now() + kMapTimeout;
    bool mapped = false;
    while (!mapped && std::chrono::steady_clock::now() < deadline)
    {
        XEvent event;
        if (XCheckTypedWindowEvent(mDisplay, mWindow, MapNotify, &event))
            mapped = true;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!mapped)
    {
        error = "the X server did not show the window";
        Close();
        return false;
    }
    return true;
}

void X11EditorWindow::Resize(int width, int height)
{
    if (mDisplay == nullptr)
        return;
    mWidth = std::clamp(width, kEditorWindowMinimumSize, kEditorWindowMaximumSize);
    mHeight = std::clamp(height, kEditorWindowMinimumSize, kEditorWindowMaximumSize);
    XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight));
    XFlush(mDisplay);
}

bool X11EditorWindow::ProcessEvents()
{
    if (mDisplay == nullptr)
        return false;
    while (XPending(mDisplay) > 0)
    {
        XEvent event;
        XNextEvent(mDisplay, &event);
        if (event.type == ClientMessage && event.xclient.window == mWindow &&
            static_cast<unsigned long>(event.xclient.data.l[0]) == mDeleteMessage)
            mClosedByUser = true;
        else if (event.type == DestroyNotify && event.xdestroywindow.window == mWindow)
            mClosedByUser = true;
        else if (event.type == ConfigureNotify && event.xconfigure.window == mWindow)
        {
            mWidth = event.xconfigure.width;
            mHeight = event.xconfigure.height;
        }
    }
    return !mClosedByUser;
}

bool X11EditorWindow::Capture(CapturedPixels& pixels, std::string& error)
{
    if (mDisplay == nullptr || mClosedByUser)
    {
        error = "the window is gone";
        return false;
    }
    XSync(mDisplay, False);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(mDisplay, mWindow, &attributes) || attributes.map_state != IsViewable)
    {
        error = "the window is not on screen";
        return false;
    }
    gLastXError = 0;
    XImage* image = XGetImage(mDisplay, mWindow, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    XSync(mDisplay, False);
    if (image == nullptr || gLastXError != 0)
    {
        if (image != nullptr)
            XDestroyImage(image);
        error =
            "the X server would not give the window's contents (error " + std::to_string(gLastXError) + ")";
        return false;
    }
    pixels.width = attributes.width;
    pixels.height = attributes.height;
    pixels.argb.resize(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
        {
            const unsigned long pixel = XGetPixel(image, x, y);
            const uint32_t r = static_cast<uint32_t>(ChannelValue(pixel, image->red_mask));
            const uint32_t g = static_cast<uint32_t>(ChannelValue(pixel, image->green_mask));
            const uint32_t b = static_cast<uint32_t>(ChannelValue(pixel, image->blue_mask));
            pixels.argb[static_cast<size_t>(y) * static_cast<size_t>(pixels.width) + static_cast<size_t>(x)] =
                0xFF000000u | (r << 16) | (g << 8) | b;
        }
    XDestroyImage(image);
    return true;
}

void X11EditorWindow::Close()
{
    if (mDisplay == nullptr)
        return;
    if (!mClosedByUser && mWindow != 0)
        XDestroyWindow(mDisplay, mWindow);
    XSync(mDisplay, False);
    XCloseDisplay(mDisplay);
    mDisplay = nullptr;
    mWindow = 0;
}

} // namespace ombrelhost
