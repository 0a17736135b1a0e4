#pragma once
// VST 2.4 values the delay answers with that the shared effect interface header does not declare. They
// are kept here rather than added there, since only this effect needs them.

#include <cstdint>

// VstParameterProperties::flags bits.
constexpr int32_t kVstParameterIsSwitch = 1 << 0;
constexpr int32_t kVstParameterUsesIntegerMinMax = 1 << 1;
constexpr int32_t kVstParameterCanRamp = 1 << 6;

// effCanDo answers: yes, don't know, no.
constexpr intptr_t kCanDoYes = 1;
constexpr intptr_t kCanDoUnknown = 0;
constexpr intptr_t kCanDoNo = -1;
