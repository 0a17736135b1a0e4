#pragma once
// Numbers in saved data (the effect state block, the example effect's chunk, the reference host's
// state files) are stored most significant byte first whatever the machine's own order, so that a
// session saved on one machine reads the same on another. Floats travel as their IEEE 754 bits.

#include <cstdint>
#include <cstring>
#include <vector>

namespace BigEndian
{

inline void writeUint32(uint8_t* destination, uint32_t value)
{
    destination[0] = static_cast<uint8_t>(value >> 24);
    destination[1] = static_cast<uint8_t>(value >> 16);
    destination[2] = static_cast<uint8_t>(value >> 8);
    destination[3] = static_cast<uint8_t>(value);
}

inline uint32_t readUint32(const uint8_t* source)
{
    return (static_cast<uint32_t>(source[0]) << 24) | (static_cast<uint32_t>(source[1]) << 16) |
           (static_cast<uint32_t>(source[2]) << 8) | static_cast<uint32_t>(source[3]);
}

inline void writeInt32(uint8_t* destination, int32_t value)
{
    writeUint32(destination, static_cast<uint32_t>(value));
}

inline int32_t readInt32(const uint8_t* source)
{
    return static_cast<int32_t>(readUint32(source));
}

inline void writeFloat(uint8_t* destination, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    writeUint32(destination, bits);
}

inline float readFloat(const uint8_t* source)
{
    const uint32_t bits = readUint32(source);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

// The same numbers added at the end of a growing buffer.
inline void appendUint32(std::vector<uint8_t>& bytes, uint32_t value)
{
    uint8_t encoded[4];
    writeUint32(encoded, value);
    bytes.insert(bytes.end(), encoded, encoded + sizeof(encoded));
}

inline void appendFloat(std::vector<uint8_t>& bytes, float value)
{
    uint8_t encoded[4];
    writeFloat(encoded, value);
    bytes.insert(bytes.end(), encoded, encoded + sizeof(encoded));
}

} // namespace BigEndian
