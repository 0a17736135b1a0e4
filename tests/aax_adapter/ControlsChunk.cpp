#include "tests/aax_adapter/ControlsChunk.h"

#include <cstring>

namespace
{

constexpr size_t kMarkerSize = 4;
constexpr uint8_t kMarkerByte = 1;
constexpr size_t kAlignment = 4;
constexpr size_t kInt16ValueSize = 4; // two bytes of value, two of padding
constexpr size_t kInt32ValueSize = 4;
constexpr size_t kDoubleValueSize = 8;

size_t roundUp(size_t size)
{
    return (size + kAlignment - 1) / kAlignment * kAlignment;
}

uint64_t readBigEndian(const std::vector<uint8_t>& bytes)
{
    uint64_t value = 0;
    for (uint8_t byte : bytes)
        value = (value << 8) | byte;
    return value;
}

} // namespace

ControlsChunk::ControlsChunk(const testhost::SavedChunk& chunk)
{
    const std::vector<uint8_t>& data = chunk.data;
    if (data.size() < kMarkerSize)
        return;
    for (size_t i = 0; i < kMarkerSize; ++i)
        if (data[i] != kMarkerByte)
            return;
    size_t position = kMarkerSize;
    while (position < data.size())
    {
        const auto* keyStart = reinterpret_cast<const char*>(data.data() + position);
        const size_t keyLength = ::strnlen(keyStart, data.size() - position);
        if (position + keyLength >= data.size() || keyLength < 2)
            return;
        const std::string key(keyStart, keyLength);
        position += roundUp(keyLength + 1);

        size_t valueSize = 0;
        switch (key[0])
        {
        case 'f':
        case 'l':
            valueSize = kInt32ValueSize;
            break;
        case 'd':
            valueSize = kDoubleValueSize;
            break;
        case 'r':
            valueSize = kInt16ValueSize;
            break;
        case 's':
            if (position >= data.size())
                return;
            valueSize = roundUp(
                ::strnlen(reinterpret_cast<const char*>(data.data() + position), data.size() - position) + 1);
            break;
        default:
            return;
        }
        if (valueSize > data.size() - position)
            return;
        entries[key].assign(data.begin() + static_cast<std::ptrdiff_t>(position),
                            data.begin() + static_cast<std::ptrdiff_t>(position + valueSize));
        position += valueSize;
    }
    whole = true;
}

bool ControlsChunk::doubleValue(const std::string& id, double* value) const
{
    const auto entry = entries.find("d_" + id);
    if (entry == entries.end())
        return false;
    const uint64_t bits = readBigEndian(entry->second);
    std::memcpy(value, &bits, sizeof bits);
    return true;
}

bool ControlsChunk::int32Value(const std::string& id, int32_t* value) const
{
    const auto entry = entries.find("l_" + id);
    if (entry == entries.end())
        return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(readBigEndian(entry->second)));
    return true;
}
