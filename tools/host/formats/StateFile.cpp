#include "tools/host/formats/StateFile.h"

#include "platform/BigEndian.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace ombrelhost
{

namespace
{

constexpr size_t kHeaderBytes = 28;
constexpr size_t kChunkHeaderBytes = 4 + 4 + StateFile::kNameBytes + 4;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::vector<uint8_t> StateFile::Encode(const SavedState& state)
{
    std::vector<uint8_t> bytes(kMagic, kMagic + sizeof kMagic);
    BigEndian::appendUint32(bytes, kFormatVersion);
    BigEndian::appendUint32(bytes, state.manufacturerId);
    BigEndian::appendUint32(bytes, state.productId);
    BigEndian::appendUint32(bytes, state.plugInId);
    BigEndian::appendUint32(bytes, static_cast<uint32_t>(state.chunks.size()));
    for (const testhost::SavedChunk& chunk : state.chunks)
    {
        BigEndian::appendUint32(bytes, chunk.id);
        BigEndian::appendUint32(bytes, static_cast<uint32_t>(chunk.version));
        uint8_t name[kNameBytes] = {};
        std::memcpy(name, chunk.name.data(), std::min(chunk.name.size(), kNameBytes - 1));
        bytes.insert(bytes.end(), name, name + kNameBytes);
        BigEndian::appendUint32(bytes, static_cast<uint32_t>(chunk.data.size()));
        bytes.insert(bytes.end(), chunk.data.begin(), chunk.data.end());
    }
    return bytes;
}

bool StateFile::Decode(const std::vector<uint8_t>& bytes, SavedState& state, std::string& error)
{
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    {
        error = "not a state file of ombrel-host (it does not start with OMBSTATE)";
        return false;
    }
    const uint32_t version = BigEndian::readUint32(&bytes[8]);
    if (version != kFormatVersion)
    {
        error =
            "a state file of format version " + std::to_string(version) + ", which this host does not read";
        return false;
    }
    SavedState decoded;
    decoded.manufacturerId = BigEndian::readUint32(&bytes[12]);
    decoded.productId = BigEndian::readUint32(&bytes[16]);
    decoded.plugInId = BigEndian::readUint32(&bytes[20]);
    const uint32_t count = BigEndian::readUint32(&bytes[24]);
    if (count > kMaximumChunks)
    {
        error = "a damaged state file (it claims " + std::to_string(count) + " chunks)";
        return false;
    }
    size_t position = kHeaderBytes;
    for (uint32_t i = 0; i < count; ++i)
    {
        if (bytes.size() - position < kChunkHeaderBytes)
        {
            error = "a damaged state file (cut short in chunk " + std::to_string(i + 1) + ")";
            return false;
        }
        testhost::SavedChunk chunk;
        chunk.id = BigEndian::readUint32(&bytes[position]);
        chunk.version = static_cast<int32_t>(BigEndian::readUint32(&bytes[position + 4]));
        const char* name = reinterpret_cast<const char*>(&bytes[position + 8]);
        chunk.name.assign(name, strnlen(name, kNameBytes));
        const uint32_t size = BigEndian::readUint32(&bytes[position + 8 + kNameBytes]);
        position += kChunkHeaderBytes;
        if (size > kMaximumChunkBytes || bytes.size() - position < size)
        {
            error = "a damaged state file (chunk " + std::to_string(i + 1) + " claims " +
                    std::to_string(size) + " bytes, " + std::to_string(bytes.size() - position) +
                    " are left)";
            return false;
        }
        chunk.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(position),
                          bytes.begin() + static_cast<std::ptrdiff_t>(position + size));
        position += size;
        decoded.chunks.push_back(std::move(chunk));
    }
    if (position != bytes.size())
    {
        error =
            "a damaged state file (" + std::to_string(bytes.size() - position) + " stray bytes at its end)";
        return false;
    }
    state = std::move(decoded);
    return true;
}

bool StateFile::Write(const std::string& path, const SavedState& state, std::string& error)
{
    const std::vector<uint8_t> bytes = Encode(state);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (file == nullptr)
    {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0)
    {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool StateFile::Read(const std::string& path, SavedState& state, std::string& error)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (file == nullptr)
    {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    {
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (bytes.size() > kMaximumChunks * static_cast<size_t>(kMaximumChunkBytes))
        {
            error = path + " is too large to be a state file";
            return false;
        }
    }
    if (std::ferror(file.get()))
    {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!Decode(bytes, state, error))
    {
        error = path + " is " + error;
        return false;
    }
    return true;
}

} // namespace ombrelhost
