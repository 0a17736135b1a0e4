#include "examples/delay/DelayChunk.h"

#include "platform/BigEndian.h"
#include "vst2/Vst2Interface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace
{
constexpr auto kMagic = static_cast<uint32_t>(vstFourCC('O', 'm', 'D', 'l'));
constexpr auto kKindBank = static_cast<uint32_t>(vstFourCC('b', 'a', 'n', 'k'));
constexpr auto kKindProgram = static_cast<uint32_t>(vstFourCC('p', 'r', 'o', 'g'));
constexpr size_t kNameBytes = DelayProgramBank::kNameBytes;
constexpr size_t kValueBytes = 4;
// Far above anything this effect will have; they only keep a hostile header from asking for absurd sizes.
constexpr uint32_t kMaxStoredParameters = 1024;
constexpr uint32_t kMaxStoredPrograms = 1024;

void putProgram(const DelayProgramBank& bank, int32_t program, std::vector<uint8_t>& out)
{
    char name[kNameBytes] = {};
    bank.copyName(program, name, sizeof(name));
    out.insert(out.end(), name, name + kNameBytes);
    for (int32_t parameter = 0; parameter < kNumDelayParameters; ++parameter)
        BigEndian::appendFloat(out, bank.value(program, parameter));
}

// One program as read from a chunk, before anything is applied.
struct StoredProgram
{
    char name[kNameBytes] = {};
    std::array<float, kNumDelayParameters> values{};
};

StoredProgram readProgram(const uint8_t* record, uint32_t usedParameters)
{
    StoredProgram program;
    std::memcpy(program.name, record, kNameBytes);
    program.name[kNameBytes - 1] = '\0';
    for (uint32_t parameter = 0; parameter < usedParameters; ++parameter)
        program.values[parameter] = BigEndian::readFloat(record + kNameBytes + parameter * kValueBytes);
    return program;
}

void applyProgram(const StoredProgram& stored, uint32_t usedParameters, int32_t program,
                  DelayProgramBank& bank)
{
    bank.setName(program, stored.name);
    // A value that is not a number keeps the program's current value rather than becoming garbage.
    for (uint32_t parameter = 0; parameter < usedParameters; ++parameter)
        if (std::isfinite(stored.values[parameter]))
            bank.setValue(program, static_cast<int32_t>(parameter), stored.values[parameter]);
}
} // namespace

void DelayChunk::write(const DelayProgramBank& bank, Scope scope, std::vector<uint8_t>& out)
{
    const bool wholeBank = scope == Scope::Bank;
    const int32_t current = bank.current();
    const uint32_t programs = wholeBank ? DelayProgramBank::kNumPrograms : 1;

    out.clear();
    out.reserve(kHeaderBytes + programs * (kNameBytes + kNumDelayParameters * kValueBytes));
    BigEndian::appendUint32(out, kMagic);
    BigEndian::appendUint32(out, kFormatVersion);
    BigEndian::appendUint32(out, wholeBank ? kKindBank : kKindProgram);
    BigEndian::appendUint32(out, kNumDelayParameters);
    BigEndian::appendUint32(out, programs);
    BigEndian::appendUint32(out, static_cast<uint32_t>(current));
    if (wholeBank)
        for (int32_t program = 0; program < DelayProgramBank::kNumPrograms; ++program)
            putProgram(bank, program, out);
    else
        putProgram(bank, current, out);
}

bool DelayChunk::read(const uint8_t* data, size_t size, Scope scope, DelayProgramBank& bank)
{
    if (data == nullptr || size < kHeaderBytes)
        return false;
    const bool wholeBank = scope == Scope::Bank;
    if (BigEndian::readUint32(data) != kMagic || BigEndian::readUint32(data + 4) != kFormatVersion ||
        BigEndian::readUint32(data + 8) != (wholeBank ? kKindBank : kKindProgram))
        return false;

    const uint32_t storedParameters = BigEndian::readUint32(data + 12);
    const uint32_t storedPrograms = BigEndian::readUint32(data + 16);
    const uint32_t storedCurrent = BigEndian::readUint32(data + 20);
    if (storedParameters == 0 || storedParameters > kMaxStoredParameters || storedPrograms == 0 ||
        storedPrograms > kMaxStoredPrograms || (!wholeBank && storedPrograms != 1))
        return false;

    // Both counts are capped above, so this cannot overflow.
    const size_t recordBytes = kNameBytes + static_cast<size_t>(storedParameters) * kValueBytes;
    if (size != kHeaderBytes + static_cast<size_t>(storedPrograms) * recordBytes)
        return false;

    const uint32_t usedParameters = std::min(storedParameters, static_cast<uint32_t>(kNumDelayParameters));
    const uint8_t* records = data + kHeaderBytes;

    if (!wholeBank)
    {
        applyProgram(readProgram(records, usedParameters), usedParameters, bank.current(), bank);
        return true;
    }

    const uint32_t usedPrograms =
        std::min(storedPrograms, static_cast<uint32_t>(DelayProgramBank::kNumPrograms));
    for (uint32_t program = 0; program < usedPrograms; ++program)
        applyProgram(readProgram(records + program * recordBytes, usedParameters), usedParameters,
                     static_cast<int32_t>(program), bank);
    // A current program this build does not have leaves the selection as it is.
    if (storedCurrent < static_cast<uint32_t>(DelayProgramBank::kNumPrograms))
        bank.select(static_cast<int32_t>(storedCurrent));
    return true;
}
