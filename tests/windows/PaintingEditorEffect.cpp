// A small VST 2 effect for Windows whose editor is a real Win32 child window: effEditOpen creates it
// in the parent window the host hands over, at the size effEditGetRect reports, and it paints
// itself in one known colour. A few idle calls after opening it grows and asks the host for the new
// size, as editors do that unfold a panel. The audio passes through a gain.

#include "tests/test_effects/EffectRecord.h"
#include "tests/test_effects/GainEffectAudio.h"
#include "tests/windows/PaintingEditorEffect.h"
#include "vst2/Vst2Interface.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace
{

using namespace paintingeditor;

constexpr ERect kOpenedRect{0, 0, kOpenedHeight, kOpenedWidth};
constexpr ERect kGrownRect{0, 0, kGrownHeight, kGrownWidth};

struct PaintingEffect
{
    AEffect record{}; // first: the host's AEffect* is this object's address
    audioMasterCallback host = nullptr;
    ERect rect = kOpenedRect;
    HWND editor = nullptr;
    int idleCalls = 0;
    std::atomic<float> gain{1.0f};
};

// Editors open in this process, on the host's GUI thread. The window class lives while one is open,
// so that no class outlives this DLL with a window procedure that is gone.
int openEditors = 0;

PaintingEffect* Self(AEffect* effect)
{
    return reinterpret_cast<PaintingEffect*>(effect);
}

// [host thread] the editor window's messages.
LRESULT CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_PAINT:
    {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(
            RGB((kEditorColour >> 16) & 0xFF, (kEditorColour >> 8) & 0xFF, kEditorColour & 0xFF));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&EditorWindowProc), &module);
    return module;
}

bool OpenEditor(PaintingEffect& self, HWND parent)
{
    if (self.editor != nullptr || parent == nullptr || !IsWindow(parent))
        return false;
    if (openEditors == 0)
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = EditorWindowProc;
        windowClass.hInstance = ThisModule();
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.lpszClassName = kEditorWindowClass;
        if (RegisterClassExW(&windowClass) == 0)
            return false;
    }
    self.rect = kOpenedRect;
    self.idleCalls = 0;
    self.editor = CreateWindowExW(0, kEditorWindowClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, kOpenedWidth,
                                  kOpenedHeight, parent, nullptr, ThisModule(), nullptr);
    if (self.editor == nullptr)
    {
        if (openEditors == 0)
            UnregisterClassW(kEditorWindowClass, ThisModule());
        return false;
    }
    ++openEditors;
    return true;
}

void CloseEditor(PaintingEffect& self)
{
    if (self.editor == nullptr)
        return;
    DestroyWindow(self.editor);
    self.editor = nullptr;
    if (--openEditors == 0)
        UnregisterClassW(kEditorWindowClass, ThisModule());
}

void Grow(AEffect* effect, PaintingEffect& self)
{
    self.rect = kGrownRect;
    SetWindowPos(self.editor, nullptr, 0, 0, kGrownWidth, kGrownHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (self.host != nullptr)
        self.host(effect, audioMasterSizeWindow, kGrownWidth, kGrownHeight, nullptr, 0.0f);
}

void CopyText(void* destination, const char* text)
{
    if (destination != nullptr)
        std::snprintf(static_cast<char*>(destination), kVstMaxParamStrLen, "%s", text);
}

// [host thread] every opcode; only the editor's and the parameter texts' are answered.
intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t index, intptr_t, void* ptr, float)
{
    PaintingEffect& self = *Self(effect);
    switch (opcode)
    {
    case effClose:
        CloseEditor(self);
        delete &self;
        return 1;
    case effGetParamName:
        if (index == 0)
            CopyText(ptr, "Gain");
        return 0;
    case effGetParamLabel:
        if (index == 0)
            CopyText(ptr, "x");
        return 0;
    case effGetParamDisplay:
        if (index == 0 && ptr != nullptr)
            std::snprintf(static_cast<char*>(ptr), kVstMaxParamStrLen, "%.3f",
                          static_cast<double>(self.gain.load()));
        return 0;
    case effEditGetRect:
        if (ptr == nullptr)
            return 0;
        *static_cast<ERect**>(ptr) = &self.rect;
        return 1;
    case effEditOpen:
        return OpenEditor(self, static_cast<HWND>(ptr)) ? 1 : 0;
    case effEditClose:
        CloseEditor(self);
        return 1;
    case effEditIdle:
        if (self.editor != nullptr && ++self.idleCalls == kIdleCallsBeforeGrowing)
            Grow(effect, self);
        return 1;
    default:
        return 0;
    }
}

using Audio = GainEffectAudio<PaintingEffect>;

} // namespace

// [host thread]
extern "C" __declspec(dllexport) AEffect* VSTPluginMain(audioMasterCallback host)
{
    auto* self = new PaintingEffect();
    self->host = host;
    fillEffectRecord(self->record,
                     {Dispatch, Audio::SetParameter, Audio::GetParameter, Audio::Process, 1, 1, 2, 2,
                      effFlagsHasEditor | effFlagsCanReplacing, vstFourCC('O', 'm', 'P', 'e')});
    self->record.ioRatio = 1.0f;
    return &self->record;
}
