#pragma once
// What the painting editor effect shows, shared by the effect and the tests that look at it: the
// editor's sizes before and after its resize request and the one colour it paints.

#include <cstdint>

namespace paintingeditor
{

constexpr int kOpenedWidth = 240;
constexpr int kOpenedHeight = 160;
constexpr int kGrownWidth = 360;
constexpr int kGrownHeight = 270;
// The editor asks for its grown size on this idle call after opening.
constexpr int kIdleCallsBeforeGrowing = 3;
// 0xRRGGBB, unlike the host window's own background.
constexpr uint32_t kEditorColour = 0x3CB371;
// The editor window's class, by which a test finds the editor among the host window's children.
constexpr wchar_t kEditorWindowClass[] = L"OmbrelPaintingEditor";

} // namespace paintingeditor
