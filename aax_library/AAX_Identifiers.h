#pragma once
// Identifiers that cross the host boundary as text or as four-character codes: parameter ids the
// library knows by name, the default chunk, and the host's notification types. Sessions and hosts
// store or compare them, so they never change.

#include "aax_library/AAX_Types.h"

// The master bypass parameter; the default chunk leaves it out.
constexpr const char* cDefaultMasterBypassID = "MasterBypassID";
// The audition-preview parameter; the default chunk leaves it out too.
constexpr const char* cPreviewParameterID = "PreviewID";

// The default chunk: every published parameter except the filtered ones.
constexpr AAX_CTypeID cDefaultChunkID = AAX_FourCC('e', 'l', 'c', 'k');
constexpr const char* cDefaultChunkName = "Complete Controls State";

// The host's audition-preview notification; its data starts with a 32-bit on/off word.
constexpr AAX_CTypeID AAX_eNotificationEvent_ASPreviewState = AAX_FourCC('A', 'S', 'P', 'v');
// The host's offline-render notifications.
constexpr AAX_CTypeID AAX_eNotificationEvent_EnteringOfflineMode = AAX_FourCC('A', 'X', 'o', 'f');
constexpr AAX_CTypeID AAX_eNotificationEvent_ExitingOfflineMode = AAX_FourCC('A', 'X', 'o', 'x');
