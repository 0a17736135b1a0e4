#include "aax_library/AAX_CChunkDataParser.h"

#include "aax_library/AAX_CHostServices.h"

#include "ChunkStorage.h"
#include "host_kit/HostServices.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

Bytes WrittenBytes(const AAX_CChunkDataParser& parser)
{
    ChunkStorage storage(parser.GetChunkDataSize());
    EXPECT_EQ(AAX_SUCCESS, parser.GetChunkData(storage.chunk()));
    EXPECT_EQ(parser.GetChunkDataSize(), storage.chunk()->fSize);
    return storage.dataBytes();
}

void Load(AAX_CChunkDataParser& parser, const Bytes& data, int32_t version = 0)
{
    ChunkStorage storage(static_cast<int32_t>(data.size()), data);
    storage.chunk()->fVersion = version;
    parser.LoadChunk(storage.chunk());
}

// Builds data bytes by hand for chunks the writer never produces.
Bytes Marker()
{
    return Bytes{1, 1, 1, 1};
}
void Append(Bytes& data, const Bytes& more)
{
    data.insert(data.end(), more.begin(), more.end());
}
} // namespace

TEST(ChunkDataParser, EmptyParserWritesOnlyTheMarker)
{
    AAX_CChunkDataParser parser;
    EXPECT_EQ(4, parser.GetChunkDataSize());
    EXPECT_EQ(Marker(), WrittenBytes(parser));
}

TEST(ChunkDataParser, WritesTheSavedSessionLayoutForEachType)
{
    AAX_CChunkDataParser doubleEntry;
    doubleEntry.AddDouble("ab", 1.0);
    EXPECT_EQ(20, doubleEntry.GetChunkDataSize());
    EXPECT_EQ((Bytes{1, 1, 1, 1, 0x64, 0x5F, 0x61, 0x62, 0, 0, 0, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}),
              WrittenBytes(doubleEntry));

    AAX_CChunkDataParser intEntry;
    intEntry.AddInt32("x", 1);
    EXPECT_EQ(12, intEntry.GetChunkDataSize());
    EXPECT_EQ((Bytes{1, 1, 1, 1, 0x6C, 0x5F, 0x78, 0, 0, 0, 0, 1}), WrittenBytes(intEntry));

    AAX_CChunkDataParser stringEntry;
    stringEntry.AddString("s", AAX_CString("abcd"));
    EXPECT_EQ(16, stringEntry.GetChunkDataSize());
    EXPECT_EQ((Bytes{1, 1, 1, 1, 0x72, 0x5F, 0x73, 0, 0x61, 0x62, 0x63, 0x64, 0, 0, 0, 0}),
              WrittenBytes(stringEntry));
}

TEST(ChunkDataParser, NegativeIntegersAreWrittenBigEndianInTwosComplement)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32("n", -2);
    EXPECT_EQ((Bytes{1, 1, 1, 1, 0x6C, 0x5F, 0x6E, 0, 0xFF, 0xFF, 0xFF, 0xFE}), WrittenBytes(parser));
}

TEST(ChunkDataParser, EntryAfterAStringStartsAfterItsPaddingAndReadsBack)
{
    AAX_CChunkDataParser writer;
    writer.AddString("s", AAX_CString("abcd"));
    writer.AddInt32("x", 7);
    const Bytes data = WrittenBytes(writer);
    ASSERT_EQ(24u, data.size());
    EXPECT_EQ((Bytes{0x6C, 0x5F, 0x78, 0, 0, 0, 0, 7}), Bytes(data.begin() + 16, data.end()));

    AAX_CChunkDataParser reader;
    Load(reader, data);
    AAX_CString text;
    int32_t number = 0;
    EXPECT_TRUE(reader.GetStringValue("s", &text));
    EXPECT_STREQ("abcd", text.Get());
    EXPECT_TRUE(reader.GetInt32Value("x", &number));
    EXPECT_EQ(7, number);
}

TEST(ChunkDataParser, RoundTripKeepsEveryValueAndTheChunkVersion)
{
    AAX_CChunkDataParser writer;
    writer.AddDouble("gain", -0.125);
    writer.AddInt32("MasterBypassID", 1);
    writer.AddString("preset name", AAX_CString("Warm room"));
    writer.AddString("empty", AAX_CString(""));
    writer.AddDouble("", 3.5);

    AAX_CChunkDataParser reader;
    Load(reader, WrittenBytes(writer), 42);
    EXPECT_EQ(42, reader.GetChunkVersion());
    EXPECT_EQ(5, reader.GetNumEntries());

    double gain = 0.0;
    double unnamed = 0.0;
    int32_t bypass = 0;
    AAX_CString preset;
    AAX_CString empty("not empty");
    EXPECT_TRUE(reader.GetDoubleValue("gain", &gain));
    EXPECT_EQ(-0.125, gain);
    EXPECT_TRUE(reader.GetInt32Value("MasterBypassID", &bypass));
    EXPECT_EQ(1, bypass);
    EXPECT_TRUE(reader.GetStringValue("preset name", &preset));
    EXPECT_STREQ("Warm room", preset.Get());
    EXPECT_TRUE(reader.GetStringValue("empty", &empty));
    EXPECT_STREQ("", empty.Get());
    // A null name is the empty name.
    EXPECT_TRUE(reader.GetDoubleValue(nullptr, &unnamed));
    EXPECT_EQ(3.5, unnamed);
}

TEST(ChunkDataParser, TypedGettersRefuseOtherTypesAndLeaveTheOutputAlone)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32("level", 3);
    double asDouble = 9.0;
    AAX_CString asString("kept");
    int32_t missing = 5;
    EXPECT_FALSE(parser.GetDoubleValue("level", &asDouble));
    EXPECT_FALSE(parser.GetStringValue("level", &asString));
    EXPECT_FALSE(parser.GetInt32Value("Level", &missing));
    EXPECT_EQ(9.0, asDouble);
    EXPECT_STREQ("kept", asString.Get());
    EXPECT_EQ(5, missing);
}

TEST(ChunkDataParser, ReadsFloatAndShortEntriesAndSkipsUnknownKeys)
{
    Bytes data = Marker();
    Append(data, {'f', '_', 'a', 0, 0x3F, 0x80, 0, 0}); // float 1.0
    Append(data, {'s', '_', 'b', 0, 0x01, 0x02, 0, 0}); // 16-bit 0x0102
    Append(data, {'q', '_', 'c', 0});                   // unknown: next key right at the value
    Append(data, {'l', '_', 'd', 0, 0, 0, 0, 9});
    AAX_CChunkDataParser parser;
    Load(parser, data);
    ASSERT_EQ(4, parser.GetNumEntries());
    EXPECT_EQ(AAX_CChunkDataParser::kType_Float, parser.GetEntryType(0));
    EXPECT_EQ(AAX_CChunkDataParser::kType_Int16, parser.GetEntryType(1));
    EXPECT_EQ(AAX_CChunkDataParser::kType_None, parser.GetEntryType(2));
    int32_t d = 0;
    EXPECT_TRUE(parser.GetInt32Value("d", &d));
    EXPECT_EQ(9, d);
    // Entries of an unknown type are not written back.
    EXPECT_EQ(4 + 8 + 8 + 8, parser.GetChunkDataSize());
}

TEST(ChunkDataParser, EveryTypeReadFromASessionIsWrittenBackByteForByte)
{
    Bytes data = Marker();
    Append(data, {'f', '_', 'a', 0, 0xBF, 0xC0, 0, 0});                               // float -1.5
    Append(data, {'s', '_', 'b', 0, 0xFF, 0xFE, 0, 0});                               // 16-bit -2, padded
    Append(data, {'l', '_', 'c', 'd', 'e', 0, 0, 0, 0x80, 0, 0, 1});                  // int32, longer key
    Append(data, {'d', '_', 'e', 0, 0x40, 0x09, 0x21, 0xFB, 0x54, 0x44, 0x2D, 0x18}); // double pi
    Append(data, {'r', '_', 'f', 0, 'x', 'y', 'z', 0});                               // text, exactly padded
    AAX_CChunkDataParser parser;
    Load(parser, data);
    ASSERT_EQ(5, parser.GetNumEntries());
    EXPECT_EQ(data, WrittenBytes(parser));
}

TEST(ChunkDataParser, EqualNamesAreFoundAfterTheLastHitFirst)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32("a", 1);
    parser.AddInt32("b", 2);
    parser.AddInt32("a", 3);
    int32_t value = 0;
    ASSERT_TRUE(parser.GetInt32Value("a", &value));
    EXPECT_EQ(1, value);
    ASSERT_TRUE(parser.GetInt32Value("a", &value));
    EXPECT_EQ(3, value);
    // After the last entry the search starts again at the first.
    ASSERT_TRUE(parser.GetInt32Value("a", &value));
    EXPECT_EQ(1, value);
    ASSERT_TRUE(parser.GetInt32Value("b", &value));
    EXPECT_EQ(2, value);
    // From "b" on, the later "a" comes first.
    ASSERT_TRUE(parser.GetInt32Value("a", &value));
    EXPECT_EQ(3, value);
}

TEST(ChunkDataParser, ChunksWithoutDataOrMarkerLoadEmptyButKeepTheirVersion)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32("old", 1);
    Load(parser, Marker(), 7);
    EXPECT_TRUE(parser.IsEmpty());
    EXPECT_EQ(7, parser.GetChunkVersion());

    Load(parser, Bytes{1, 1, 1, 2, 'l', '_', 'x', 0, 0, 0, 0, 1}, 8);
    EXPECT_TRUE(parser.IsEmpty());
    EXPECT_EQ(8, parser.GetChunkVersion());

    int32_t value = 4;
    EXPECT_FALSE(parser.GetInt32Value("x", &value));
    EXPECT_EQ(4, value);

    parser.LoadChunk(nullptr);
    EXPECT_TRUE(parser.IsEmpty());
}

// A damaged chunk never makes the reader leave its fSize bytes (the storage holds exactly those, so
// the address sanitizer would report a stray read) and keeps what it read before the damage.
TEST(ChunkDataParser, DamagedChunksKeepTheEntriesBeforeTheDamage)
{
    const Bytes good = {1, 1, 1, 1, 'l', '_', 'x', 0, 0, 0, 0, 1};
    const std::vector<Bytes> tails = {
        {'d', '_', 'y', 0, 0x3F, 0xF0, 0, 0}, // double cut after 4 of its 8 bytes
        {'l', '_', 'y', 0, 0, 0},             // integer cut short
        {'r', '_', 'y', 0, 'a', 'b', 'c'},    // text without its zero byte
        {'d', '_', 'l', 'o', 'n', 'g'},       // key without its zero byte
        {'s', '_', 'y', 0, 0x01},             // 16-bit value cut short
    };
    for (const Bytes& tail : tails)
    {
        Bytes data = good;
        Append(data, tail);
        AAX_CChunkDataParser parser;
        Load(parser, data);
        EXPECT_EQ(1, parser.GetNumEntries()) << "tail starting with " << tail[0];
        int32_t x = 0;
        EXPECT_TRUE(parser.GetInt32Value("x", &x));
        EXPECT_EQ(1, x);
    }
}

TEST(ChunkDataParser, NegativeOrOverstatedSizesReadNothingOutsideTheData)
{
    AAX_CChunkDataParser parser;
    ChunkStorage negative(-100);
    parser.LoadChunk(negative.chunk());
    EXPECT_TRUE(parser.IsEmpty());

    // fSize says 12, but a key claims the rest: the reader stops at fSize.
    Bytes data = {1, 1, 1, 1, 'l', '_', 'a', 'b', 'c', 'd', 'e', 'f'};
    Load(parser, data);
    EXPECT_TRUE(parser.IsEmpty());
}

// An overflow is reported to the host's trace while the module has host services, and silently
// otherwise.
TEST(ChunkDataParser, WritingStopsAtTheCapacityWithTheOverflowResultAndATrace)
{
    testhost::TestHost host;
    AAX_CHostServices::Set(nullptr);
    AAX_CHostServices::Set(host.Unknown());

    AAX_CChunkDataParser parser;
    parser.AddInt32("x", 1);
    parser.AddDouble("y", 2.0);
    const int32_t full = parser.GetChunkDataSize();
    ASSERT_EQ(12 + 12, full);

    // One byte short of the second item's value: it is not written at all.
    ChunkStorage storage(full - 1);
    EXPECT_EQ(AAX_CChunkDataParser::kChunkOverflow, parser.GetChunkData(storage.chunk(), full - 1));
    EXPECT_EQ(full - 1, storage.chunk()->fSize);
    const Bytes written = storage.dataBytes();
    EXPECT_EQ((Bytes{1, 1, 1, 1, 'l', '_', 'x', 0, 0, 0, 0, 1}),
              Bytes(written.begin(), written.begin() + 12));
    EXPECT_EQ(Bytes(11, 0), Bytes(written.begin() + 12, written.end()));

    AAX_CHostServices::Set(nullptr);
    // Too small for the marker, and no host services any more.
    ChunkStorage tiny(2);
    EXPECT_EQ(AAX_CChunkDataParser::kChunkOverflow, parser.GetChunkData(tiny.chunk(), 2));
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, parser.GetChunkData(nullptr));

    const auto traces = host.All<testhost::HostServices>().at(0)->Traces();
    ASSERT_EQ(1u, traces.size());
    EXPECT_EQ(0x8000000, traces[0].priority);
    EXPECT_EQ("AAX_CChunkDataParser::GetChunkData ERROR: aborting: chunk data will overflow buffer",
              traces[0].message);
}
