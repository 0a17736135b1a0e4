#include "examples/delay/DelayProgramBank.h"

#include <cstring>

namespace
{
struct FactoryProgram
{
    const char* name;
    float values[kNumDelayParameters]; // Time, Feedback, Mix, Sync, Note, High Cut
};

constexpr float kOff = 0.0f;
constexpr float kOn = 1.0f;
constexpr float kOpen = 1.0f;

// Times are ms / 2000; notes sit in the middle of their range ((index + 0.5) / 8); the high cut value
// v gives 200 Hz * 100^v.
const FactoryProgram kFactoryPrograms[DelayProgramBank::kNumPrograms] = {
    {"Default", {0.125f, 0.5f, 0.5f, kOff, 0.5625f, kOpen}},          // 250 ms, 50 %, 50 %
    {"Slapback", {0.045f, 0.1f, 0.35f, kOff, 0.5625f, 0.75f}},        // 90 ms, about 6.3 kHz
    {"Tape Echo", {0.19f, 0.6f, 0.4f, kOff, 0.5625f, 0.55f}},         // 380 ms, about 2.5 kHz
    {"Quarter Note Sync", {0.25f, 0.4f, 0.35f, kOn, 0.5625f, kOpen}}, // 1/4
    {"Dotted Eighth Sync", {0.25f, 0.45f, 0.3f, kOn, 0.4375f, 0.8f}}, // 1/8., about 8 kHz
    {"Long Wash", {0.6f, 0.8f, 0.45f, kOff, 0.5625f, 0.5f}},          // 1200 ms, 2 kHz
};
} // namespace

DelayProgramBank::DelayProgramBank()
{
    for (int32_t program = 0; program < kNumPrograms; ++program)
        loadFactoryProgram(program);
}

bool DelayProgramBank::select(int32_t program)
{
    if (!isValidProgram(program))
        return false;
    currentProgram.store(program, std::memory_order_relaxed);
    return true;
}

float DelayProgramBank::value(int32_t program, int32_t parameter) const
{
    if (!isValidProgram(program) || !DelayParameters::isValidIndex(parameter))
        return 0.0f;
    return values[program][parameter].load(std::memory_order_relaxed);
}

void DelayProgramBank::setValue(int32_t program, int32_t parameter, float value)
{
    float limited = 0.0f;
    if (!isValidProgram(program) || !DelayParameters::isValidIndex(parameter) ||
        !DelayParameters::sanitize(value, limited))
        return;
    values[program][parameter].store(limited, std::memory_order_relaxed);
}

void DelayProgramBank::copyName(int32_t program, char* dest, size_t size) const
{
    if (dest == nullptr || size == 0)
        return;
    dest[0] = '\0';
    if (!isValidProgram(program))
        return;
    const auto& name = names[program];
    size_t n = 0;
    while (n + 1 < size && n < kNameBytes && name[n] != '\0')
    {
        dest[n] = name[n];
        ++n;
    }
    dest[n] = '\0';
}

void DelayProgramBank::setName(int32_t program, const char* text)
{
    if (!isValidProgram(program) || text == nullptr)
        return;
    auto& name = names[program];
    name.fill('\0');
    for (size_t n = 0; n + 1 < kNameBytes && text[n] != '\0'; ++n)
        name[n] = text[n];
}

void DelayProgramBank::loadFactoryProgram(int32_t program)
{
    if (!isValidProgram(program))
        return;
    const FactoryProgram& factory = kFactoryPrograms[program];
    setName(program, factory.name);
    for (int32_t parameter = 0; parameter < kNumDelayParameters; ++parameter)
        values[program][parameter].store(factory.values[parameter], std::memory_order_relaxed);
}
