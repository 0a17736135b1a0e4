#pragma once
// The delay's programs: each has a name and its own set of parameter values, and edits made to the
// parameters go to the current program (the VST 2 model). The audio thread reads the current program's
// values while host threads write them, so values and the current index are atomics; names are only
// touched by host threads.

#include "examples/delay/DelayParameters.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

class DelayProgramBank
{
public:
    static constexpr int32_t kNumPrograms = 6;
    // Room for a name; names are kept below 24 characters, the VST convention, plus the terminator.
    static constexpr size_t kNameBytes = 24;

    // Fills every program from the factory table and selects program 0.
    DelayProgramBank();

    // [any thread] the current program.
    int32_t current() const { return currentProgram.load(std::memory_order_relaxed); }
    // [host thread] selects a program; false (nothing changes) out of range.
    bool select(int32_t program);

    // [any thread] a value of the current program; 0 for a parameter out of range.
    float value(int32_t parameter) const { return value(current(), parameter); }
    float value(int32_t program, int32_t parameter) const;
    // [host thread] sets a value (limited to 0..1; NaN and indices out of range are ignored).
    void setValue(int32_t parameter, float value) { setValue(current(), parameter, value); }
    void setValue(int32_t program, int32_t parameter, float value);

    // [host thread] a program's name into dest (always terminated; "" out of range).
    void copyName(int32_t program, char* dest, size_t size) const;
    // [host thread] renames a program, cutting the text to 23 characters; ignored out of range.
    void setName(int32_t program, const char* text);

    // [host thread] reloads one program from the factory table.
    void loadFactoryProgram(int32_t program);

private:
    static bool isValidProgram(int32_t program) { return program >= 0 && program < kNumPrograms; }

    std::array<std::array<std::atomic<float>, kNumDelayParameters>, kNumPrograms> values;
    std::array<std::array<char, kNameBytes>, kNumPrograms> names{};
    std::atomic<int32_t> currentProgram{0};
};
