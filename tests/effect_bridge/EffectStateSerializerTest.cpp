// The saved-state format on its own: blocks written and read back as bytes, and damaged blocks
// (cut short, garbage, counts larger than the data) read without touching a byte outside them.

#include "effect_bridge/EffectStateSerializer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;
using EffectStateSerializer::ParameterFormWriter;
using EffectStateSerializer::Reader;

Bytes bytesOf(const juce::MemoryBlock& block, size_t from = 0)
{
    const auto* data = static_cast<const uint8_t*>(block.getData());
    return Bytes(data + from, data + block.getSize());
}

Reader readerOf(const Bytes& bytes)
{
    return Reader(bytes.data(), static_cast<int>(bytes.size()));
}

// Reads every value of every readable record, so that the address sanitizer sees any read outside
// the block, and checks that the readable records lie before the trailer.
void readEverything(const Bytes& bytes)
{
    const Reader reader = readerOf(bytes);
    const int32_t programs = reader.readableProgramCount();
    const int32_t parameters = reader.storedParameterCount();
    if (programs > 0)
    {
        ASSERT_GE(parameters, 0);
        const size_t end = EffectStateBlock::kHeaderSize +
                           static_cast<size_t>(programs) * EffectStateBlock::programRecordSize(parameters);
        EXPECT_LE(end, bytes.size() - EffectStateBlock::kTrailerSize);
    }
    char name[EffectStateBlock::kProgramNameSize + 1];
    for (int32_t program = 0; program < programs; ++program)
    {
        reader.programName(program, name);
        EXPECT_LE(std::strlen(name), EffectStateBlock::kProgramNameSize);
        for (int32_t parameter = 0; parameter < parameters; ++parameter)
            reader.value(program, parameter);
    }
}

// A parameter-form block of three parameters and two programs, as a save writes it.
Bytes threeByTwo(juce::MemoryBlock& destination)
{
    const size_t start = destination.getSize();
    ParameterFormWriter writer(destination, 3, 2);
    writer.writeProgramName(0, "Warm");
    writer.writeProgramName(1, std::string(80, 'n').c_str());
    for (int32_t parameter = 0; parameter < 3; ++parameter)
    {
        writer.writeValue(0, parameter, 0.25f * static_cast<float>(parameter));
        writer.writeValue(1, parameter, 1.0f - 0.125f * static_cast<float>(parameter));
    }
    writer.finish(1);
    return bytesOf(destination, start);
}

TEST(EffectStateSerializer, TheParameterFormRoundTripsNamesValuesAndTheProgram)
{
    juce::MemoryBlock destination;
    const uint8_t existing[4] = {9, 8, 7, 6};
    destination.append(existing, sizeof(existing));
    const Bytes block = threeByTwo(destination);

    ASSERT_EQ(destination.getSize(), 4u + 168u) << "appended after what the destination held";
    EXPECT_EQ(bytesOf(destination).front(), 9);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 8), (Bytes{0, 0, 0, 3, 0, 0, 0, 2}));
    EXPECT_EQ(Bytes(block.begin() + 80, block.begin() + 84), (Bytes{0x3F, 0x00, 0x00, 0x00}))
        << "value 2 of program 0, big-endian 0.5";
    EXPECT_EQ(Bytes(block.end() - 8, block.end()), (Bytes{0x00, 0x00, 0x20, 0x01, 0x00, 0x00, 0x00, 0x01}));

    const Reader reader = readerOf(block);
    ASSERT_EQ(reader.form(), Reader::Form::parameters);
    EXPECT_EQ(reader.storedParameterCount(), 3);
    EXPECT_EQ(reader.storedProgramCount(), 2);
    EXPECT_EQ(reader.readableProgramCount(), 2);
    EXPECT_EQ(reader.storedCurrentProgram(), 1);
    char name[EffectStateBlock::kProgramNameSize + 1];
    reader.programName(0, name);
    EXPECT_STREQ(name, "Warm");
    reader.programName(1, name);
    EXPECT_EQ(std::string(name), std::string(64, 'n')) << "a long name keeps its first 64 bytes";
    EXPECT_EQ(reader.value(0, 2), 0.5f);
    EXPECT_EQ(reader.value(1, 1), 0.875f);
    EXPECT_EQ(reader.value(1, 3), 0.0f) << "beyond the stored parameters";
    EXPECT_EQ(reader.value(2, 0), 0.0f) << "beyond the stored programs";
}

TEST(EffectStateSerializer, TheChunkFormRoundTripsTheChunkAndTheEmptyStateIsUnreadable)
{
    Bytes chunk(1000);
    for (size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<uint8_t>(i * 7 + 3);
    juce::MemoryBlock destination;
    EffectStateSerializer::appendChunkForm(destination, chunk.data(), static_cast<intptr_t>(chunk.size()));
    const Bytes block = bytesOf(destination);
    ASSERT_EQ(block.size(), 1008u);
    EXPECT_EQ(Bytes(block.end() - 8, block.end()), (Bytes{0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x30, 0x00}));
    const Reader reader = readerOf(block);
    ASSERT_EQ(reader.form(), Reader::Form::chunk);
    ASSERT_EQ(reader.chunkSize(), 1000u);
    EXPECT_EQ(Bytes(reader.chunkData(), reader.chunkData() + reader.chunkSize()), chunk);

    for (intptr_t length : {intptr_t{0}, intptr_t{-5}})
    {
        juce::MemoryBlock markersOnly;
        EffectStateSerializer::appendChunkForm(markersOnly, chunk.data(), length);
        EXPECT_EQ(markersOnly.getSize(), 8u) << length;
    }
    juce::MemoryBlock nullChunk;
    EffectStateSerializer::appendChunkForm(nullChunk, nullptr, 1000);
    EXPECT_EQ(nullChunk.getSize(), 8u);

    juce::MemoryBlock empty;
    EffectStateSerializer::appendEmptyState(empty);
    EXPECT_EQ(bytesOf(empty), Bytes(8, 0));
    EXPECT_EQ(readerOf(bytesOf(empty)).form(), Reader::Form::unreadable);
}

TEST(EffectStateSerializer, MarkersSizesAndMissingDataDecideTheForm)
{
    juce::MemoryBlock destination;
    Bytes block = threeByTwo(destination);
    block[block.size() - 5] = 0x00; // 00 00 20 00: the marker earlier versions wrote
    EXPECT_EQ(readerOf(block).form(), Reader::Form::parameters);
    block[block.size() - 6] = 0x40; // 00 00 40 00: nobody's marker
    EXPECT_EQ(readerOf(block).form(), Reader::Form::unreadable);
    EXPECT_EQ(readerOf(block).readableProgramCount(), 0);

    const Bytes eleven{0, 0, 0, 0, 0, 0, 0, 0, 0x20, 0x01, 0};
    EXPECT_EQ(readerOf(eleven).form(), Reader::Form::unreadable);
    const Bytes twelve{0, 0, 0, 0, 0, 0, 0x20, 0x01, 0, 0, 0, 0};
    EXPECT_EQ(readerOf(twelve).form(), Reader::Form::parameters);
    EXPECT_EQ(readerOf(twelve).readableProgramCount(), 0) << "no room for a header";
    EXPECT_EQ(Reader(nullptr, 200).form(), Reader::Form::unreadable);
    EXPECT_EQ(Reader(twelve.data(), -12).form(), Reader::Form::unreadable);
}

TEST(EffectStateSerializer, EveryCutOfASavedBlockReadsOnlyWhatItHolds)
{
    juce::MemoryBlock destination;
    const Bytes block = threeByTwo(destination);
    for (size_t length = 0; length < block.size(); ++length)
    {
        // Cut from the end: the trailer is gone, so only a chance marker makes the rest readable.
        const Bytes front(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(length));
        readEverything(front);
        // Cut from the front: the trailer stays, the header and records are shifted or gone.
        const Bytes back(block.end() - static_cast<std::ptrdiff_t>(length), block.end());
        readEverything(back);
        if (length >= EffectStateBlock::kMinimumRestorableSize)
        {
            EXPECT_EQ(readerOf(back).form(), Reader::Form::parameters) << length;
        }
    }
    // Cutting whole records off the end of the records keeps the ones that remain readable.
    Bytes oneRecord(block.begin(), block.begin() + 8 + 76);
    oneRecord.insert(oneRecord.end(), block.end() - 8, block.end());
    EXPECT_EQ(readerOf(oneRecord).readableProgramCount(), 1);
    EXPECT_EQ(readerOf(oneRecord).value(0, 1), 0.25f);
}

TEST(EffectStateSerializer, CountsBeyondTheDataAndGarbageStayInsideTheBlock)
{
    juce::MemoryBlock destination;
    const Bytes honest = threeByTwo(destination);
    // Every pairing of ordinary, negative and overflowing counts over two honest 3-value records.
    const int32_t counts[] = {std::numeric_limits<int32_t>::min(), -1, 0, 1, 3, 1000, 0x3FFFFFF0, 0x40000000,
                              std::numeric_limits<int32_t>::max()};
    const int64_t recordBytes = static_cast<int64_t>(honest.size()) - 16;
    for (const int32_t parameters : counts)
    {
        for (const int32_t programs : counts)
        {
            Bytes block = honest;
            EffectStateBlock::writeInt32(block.data(), parameters);
            EffectStateBlock::writeInt32(block.data() + 4, programs);
            readEverything(block);
            const int64_t fitting =
                parameters < 0 ? 0 : recordBytes / (64 + 4 * static_cast<int64_t>(parameters));
            const int64_t expected = programs < 0 ? 0 : std::min<int64_t>(programs, fitting);
            EXPECT_EQ(readerOf(block).readableProgramCount(), expected) << parameters << " x " << programs;
        }
    }

    std::mt19937 random(13);
    for (int round = 0; round < 500; ++round)
    {
        Bytes garbage(12 + random() % 400);
        for (uint8_t& byte : garbage)
            byte = static_cast<uint8_t>(random());
        // Small counts in half of the rounds, so that records are found and read.
        if (round % 2 == 0)
        {
            EffectStateBlock::writeInt32(garbage.data(), static_cast<int32_t>(random() % 8));
            EffectStateBlock::writeInt32(garbage.data() + 4, static_cast<int32_t>(random() % 8));
        }
        EffectStateBlock::writeUint32(garbage.data() + garbage.size() - 8,
                                      round % 3 == 0 ? EffectStateBlock::kChunkFormMarker
                                                     : EffectStateBlock::kParameterFormMarker);
        readEverything(garbage);
        EXPECT_EQ(readerOf(garbage).chunkSize(), garbage.size() - 8);
    }
}

} // namespace
