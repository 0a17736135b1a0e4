#pragma once
// What the reference host's editor windows share on every platform: the pixels a capture gives, the
// window's own background and the sizes a window is kept within.

#include <cstdint>
#include <vector>

namespace ombrelhost
{

// A copy of the window's pixels, 0xAARRGGBB row by row.
struct CapturedPixels
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

// 0xRRGGBB: what shows where the editor draws nothing.
constexpr uint32_t kEditorWindowBackground = 0x202428;
// The client area's sides, whatever an editor asks for.
constexpr int kEditorWindowMinimumSize = 16;
constexpr int kEditorWindowMaximumSize = 8192;

} // namespace ombrelhost
