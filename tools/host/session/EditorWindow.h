#pragma once
// The native window the reference host gives an effect's editor on this platform: a Win32 window
// on Windows, an X11 window elsewhere. Both offer the same operations.

#ifdef _WIN32
#include "tools/host/session/Win32EditorWindow.h"
#else
#include "tools/host/session/X11EditorWindow.h"
#endif

namespace ombrelhost
{

#ifdef _WIN32
using EditorWindow = Win32EditorWindow;
#else
using EditorWindow = X11EditorWindow;
#endif

} // namespace ombrelhost
