#pragma once
// The control surface of the editor probe: a tiny VST 2 effect with an editor and no parameters,
// which records every editor call it receives (and its own close) with the pointer argument (the
// parent window), and can be told to supply no rectangle or to ask its host for a new editor size.
// Reached through exported functions of the effect library, which the test opens from the bundle
// as the module does.

#include "vst2/Vst2Interface.h"

#include <cstdint>

constexpr int kEditorProbeLogCapacity = 256;

struct EditorProbeCall
{
    int32_t opcode;
    uintptr_t ptr;
};

struct EditorProbeLog
{
    int32_t count;
    EditorProbeCall calls[kEditorProbeLogCapacity];
};

// rect == null: the effect answers effEditGetRect without supplying a rectangle.
using EditorProbeSetRectProc = void (*)(const ERect* rect);
using EditorProbeLogProc = EditorProbeLog* (*)();
// Asks the host callback for a new editor size (audioMasterSizeWindow), as the editor does.
using EditorProbeRequestResizeProc = intptr_t (*)(int32_t width, int32_t height);
constexpr const char* kEditorProbeSetRectName = "ombrelEditorProbeSetRect";
constexpr const char* kEditorProbeLogName = "ombrelEditorProbeLog";
constexpr const char* kEditorProbeRequestResizeName = "ombrelEditorProbeRequestResize";
