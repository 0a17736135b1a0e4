#include "aax_library/AAX_CChunkDataParser.h"

#include "ChunkStorage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

constexpr int kIterations = 300000;
// Far above what the run takes even under the sanitizers; only a hang or a pathological slow path
// reaches it.
constexpr double kTimeLimitSeconds = 60.0;

std::string RandomName(std::mt19937& random)
{
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789_ ";
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> letter(0, static_cast<int>(sizeof kAlphabet) - 2);
    std::string name(static_cast<size_t>(length(random)), ' ');
    for (char& c : name)
        c = kAlphabet[letter(random)];
    return name;
}

// A valid chunk of a few random entries, with the types of its entries in order.
Bytes RandomValidChunk(std::mt19937& random, std::vector<AAX_CChunkDataParser::EntryType>& types)
{
    AAX_CChunkDataParser writer;
    types.clear();
    std::uniform_int_distribution<int> count(0, 6);
    std::uniform_int_distribution<int> kind(0, 2);
    for (int i = count(random); i > 0; --i)
    {
        const std::string name = RandomName(random);
        switch (kind(random))
        {
        case 0:
            writer.AddDouble(name.c_str(), std::uniform_real_distribution<double>(-1e6, 1e6)(random));
            types.push_back(AAX_CChunkDataParser::kType_Double);
            break;
        case 1:
            writer.AddInt32(name.c_str(), static_cast<int32_t>(random()));
            types.push_back(AAX_CChunkDataParser::kType_Int32);
            break;
        default:
            writer.AddString(name.c_str(), AAX_CString(RandomName(random).c_str()));
            types.push_back(AAX_CChunkDataParser::kType_String);
            break;
        }
    }
    ChunkStorage storage(writer.GetChunkDataSize());
    EXPECT_EQ(AAX_SUCCESS, writer.GetChunkData(storage.chunk()));
    return storage.dataBytes();
}
} // namespace

// Hundreds of thousands of truncated, corrupted and random chunks, each in storage of exactly its
// fSize bytes: under the address sanitizer any read outside them fails the run. Truncations of a
// valid chunk must load a prefix of its entries.
TEST(ChunkDataParserStress, SurvivesRandomAndTruncatedChunksWithinSeconds)
{
    const auto start = std::chrono::steady_clock::now();
    std::mt19937 random(20240601u);
    std::vector<AAX_CChunkDataParser::EntryType> types;
    AAX_CChunkDataParser parser;
    int prefixFailures = 0;

    for (int i = 0; i < kIterations; ++i)
    {
        const Bytes valid = RandomValidChunk(random, types);
        switch (i % 3)
        {
        case 0:
        {
            // Truncated at any length, the marker included.
            const int32_t cut =
                std::uniform_int_distribution<int32_t>(0, static_cast<int32_t>(valid.size()))(random);
            ChunkStorage storage(cut, valid);
            parser.LoadChunk(storage.chunk());
            if (parser.GetNumEntries() > static_cast<int32_t>(types.size()))
                ++prefixFailures;
            else
                for (int32_t e = 0; e < parser.GetNumEntries(); ++e)
                    if (parser.GetEntryType(e) != types[static_cast<size_t>(e)])
                        ++prefixFailures;
            if (cut == static_cast<int32_t>(valid.size()) &&
                parser.GetNumEntries() != static_cast<int32_t>(types.size()))
                ++prefixFailures;
            break;
        }
        case 1:
        {
            // A few bytes after the marker flipped.
            Bytes damaged = valid;
            if (damaged.size() > 4)
                for (int flips = std::uniform_int_distribution<int>(1, 4)(random); flips > 0; --flips)
                {
                    const size_t at = std::uniform_int_distribution<size_t>(4, damaged.size() - 1)(random);
                    damaged[at] = static_cast<uint8_t>(random());
                }
            ChunkStorage storage(static_cast<int32_t>(damaged.size()), damaged);
            parser.LoadChunk(storage.chunk());
            break;
        }
        default:
        {
            // Random bytes behind a valid marker, and now and then a negative size.
            const int32_t size = std::uniform_int_distribution<int32_t>(-8, 64)(random);
            Bytes noise(static_cast<size_t>(std::max(size, 0)));
            for (uint8_t& b : noise)
                b = static_cast<uint8_t>(random() % 8 == 0 ? 0 : random());
            for (size_t m = 0; m < 4 && m < noise.size(); ++m)
                noise[m] = 1;
            ChunkStorage storage(size, noise);
            parser.LoadChunk(storage.chunk());
            break;
        }
        }
        // Whatever was loaded can be written again within its own computed size.
        ChunkStorage rewritten(parser.GetChunkDataSize());
        ASSERT_EQ(AAX_SUCCESS, parser.GetChunkData(rewritten.chunk()));
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(0, prefixFailures);
    EXPECT_LT(seconds, kTimeLimitSeconds);
    RecordProperty("seconds", std::to_string(seconds));
}
