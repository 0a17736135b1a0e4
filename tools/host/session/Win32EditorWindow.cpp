#include "tools/host/session/Win32EditorWindow.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace ombrelhost
{

namespace
{

constexpr wchar_t kWindowClass[] = L"OmbrelHostEditorWindow";
// The effect's child windows paint themselves; the host's background never draws over them.
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

HWND Handle(void* window)
{
    return static_cast<HWND>(window);
}

Win32WindowEvents* EventsOf(HWND window)
{
    return reinterpret_cast<Win32WindowEvents*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// [host thread] The window is closed by the host once the editor has left it, so a close request
// is only noted here.
LRESULT CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CLOSE:
        if (Win32WindowEvents* events = EventsOf(window))
            events->closeRequested = true;
        return 0;
    case WM_DESTROY:
        if (Win32WindowEvents* events = EventsOf(window))
            events->destroyed = true;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterWindowClass(std::string& error)
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = EditorWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground =
        CreateSolidBrush(RGB((kEditorWindowBackground >> 16) & 0xFF, (kEditorWindowBackground >> 8) & 0xFF,
                             kEditorWindowBackground & 0xFF));
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    {
        error = "cannot register the window class (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    registered = true;
    return true;
}

std::wstring Wide(const std::string& utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

// The outer size of a window whose client area has the given size.
SIZE FrameSize(int width, int height)
{
    RECT frame{0, 0, std::clamp(width, kEditorWindowMinimumSize, kEditorWindowMaximumSize),
               std::clamp(height, kEditorWindowMinimumSize, kEditorWindowMaximumSize)};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

RECT ClientRect(void* window)
{
    RECT client{0, 0, 0, 0};
    if (window != nullptr)
        GetClientRect(Handle(window), &client);
    return client;
}

} // namespace

Win32EditorWindow::~Win32EditorWindow()
{
    Close();
}

bool Win32EditorWindow::CanOpen(std::string&)
{
    return true;
}

bool Win32EditorWindow::Open(const std::string& title, int width, int height, std::string& error)
{
    Close();
    if (!RegisterWindowClass(error))
        return false;
    mEvents = Win32WindowEvents{};
    const SIZE frame = FrameSize(width, height);
    HWND window = CreateWindowExW(kWindowExStyle, kWindowClass, Wide(title).c_str(), kWindowStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr)
    {
        error = "cannot create the window (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    mWindow = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&mEvents));
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    ProcessEvents();
    return true;
}

std::string Win32EditorWindow::Describe() const
{
    char text[64];
    std::snprintf(text, sizeof(text), "Win32 window 0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(mWindow)));
    return text;
}

void Win32EditorWindow::Resize(int width, int height)
{
    if (mWindow == nullptr || mEvents.destroyed)
        return;
    const SIZE frame = FrameSize(width, height);
    SetWindowPos(Handle(mWindow), nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32EditorWindow::Width() const
{
    const RECT client = ClientRect(mEvents.destroyed ? nullptr : mWindow);
    return client.right - client.left;
}

int Win32EditorWindow::Height() const
{
    const RECT client = ClientRect(mEvents.destroyed ? nullptr : mWindow);
    return client.bottom - client.top;
}

bool Win32EditorWindow::ProcessEvents()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE)
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return mWindow != nullptr && !mEvents.closeRequested && !mEvents.destroyed;
}

bool Win32EditorWindow::Capture(CapturedPixels& pixels, std::string& error)
{
    if (mWindow == nullptr || mEvents.destroyed || !IsWindowVisible(Handle(mWindow)))
    {
        error = "the window is gone";
        return false;
    }
    HWND window = Handle(mWindow);
    // Every window in the client area paints now, the effect's children included, before the copy.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ProcessEvents();
    GdiFlush();
    const RECT client = ClientRect(mWindow);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
    {
        error = "the window has no client area";
        return false;
    }
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap != nullptr && bits != nullptr)
    {
        HGDIOBJ previous = SelectObject(memoryDc, bitmap);
        copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        if (copied)
        {
            // Each pixel of a 32-bit DIB is 0x00RRGGBB.
            const auto* source = static_cast<const uint32_t*>(bits);
            pixels.width = width;
            pixels.height = height;
            pixels.argb.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
            for (size_t i = 0; i < pixels.argb.size(); ++i)
                pixels.argb[i] = 0xFF000000u | (source[i] & 0x00FFFFFFu);
        }
        SelectObject(memoryDc, previous);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    if (!copied)
    {
        error = "the window's contents could not be copied (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

void Win32EditorWindow::Close()
{
    if (mWindow == nullptr)
        return;
    HWND window = Handle(mWindow);
    if (!mEvents.destroyed)
    {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    mWindow = nullptr;
    // What destroying the window posted is dispatched while the window's owner is still here.
    ProcessEvents();
}

} // namespace ombrelhost
