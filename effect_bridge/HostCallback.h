#pragma once
// The host side of the effect's callback: what the effect learns about its host and how it reports
// automation, editor resizing and display changes to its processor.

#include "vst2/Vst2Interface.h"

#include <cstdint>

// The identity the host gives itself towards the effect.
constexpr intptr_t kHostVstVersion = 2;
constexpr intptr_t kHostCurrentId = vstFourCC('O', 'M', 'B', 'L');
constexpr const char* kHostVendorString = "Quorvane";
constexpr const char* kHostProductString = "KWZ_AAX";
// Answers when the calling effect has no processor (yet): calls made from inside the effect's entry.
constexpr intptr_t kHostDefaultSampleRate = 44100;
constexpr intptr_t kHostDefaultBlockSize = 1024;

// [any thread] The block size an effect is told for the host's block size: a size below 1 (a
// processor not prepared yet) reaches the effect as kHostDefaultBlockSize, since effects divide by
// it when they resume.
constexpr int32_t effectBlockSize(int hostBlockSize)
{
    return hostBlockSize >= 1 ? static_cast<int32_t>(hostBlockSize)
                              : static_cast<int32_t>(kHostDefaultBlockSize);
}
// audioMasterPinConnected: the host connects two pins each way; 0 means connected.
constexpr int32_t kHostConnectedPins = 2;

// [any thread] The callback handed to the effect's entry. The processor of a call is the one whose
// address the effect's resvd1 field holds; without one (a null effect or resvd1 still 0) it answers
// neutral values.
intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

// [any thread] The host's answer to audioMasterCanDo for a capability text: 1 yes, 0 unknown
// (also for null and for texts the table does not hold).
intptr_t hostCanDo(const char* capability);
