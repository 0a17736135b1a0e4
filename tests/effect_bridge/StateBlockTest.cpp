// The saved effect state: both forms byte for byte, appending, and every restore rule, including
// blocks that are short, foreign or hostile.

#include "effect_bridge/EffectStateBlock.h"
#include "effect_bridge/QuennetAudioProcessor.h"
#include "tests/effect_bridge/EffectInstallation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const juce::MemoryBlock& block)
{
    const auto* data = static_cast<const uint8_t*>(block.getData());
    return Bytes(data, data + block.getSize());
}

Bytes tail(const Bytes& bytes, size_t count)
{
    return Bytes(bytes.end() - static_cast<std::ptrdiff_t>(count), bytes.end());
}

// Builds a parameter-form block by hand: the header counts and trailer are given separately from
// the records actually written, so that hostile headers can be made.
struct BlockBuilder
{
    Bytes bytes;

    BlockBuilder(int32_t headerParameters, int32_t headerPrograms)
    {
        bytes.resize(EffectStateBlock::kHeaderSize);
        EffectStateBlock::writeInt32(bytes.data(), headerParameters);
        EffectStateBlock::writeInt32(bytes.data() + 4, headerPrograms);
    }
    BlockBuilder& program(const std::string& name, const std::vector<float>& values)
    {
        const size_t start = bytes.size();
        bytes.resize(start + EffectStateBlock::kProgramNameSize + 4 * values.size(), 0);
        std::memcpy(bytes.data() + start, name.data(),
                    std::min(name.size(), EffectStateBlock::kProgramNameSize));
        for (size_t j = 0; j < values.size(); ++j)
            EffectStateBlock::writeFloat(bytes.data() + start + EffectStateBlock::kProgramNameSize + 4 * j,
                                         values[j]);
        return *this;
    }
    Bytes finish(uint32_t marker, int32_t currentProgram)
    {
        const size_t start = bytes.size();
        bytes.resize(start + 8);
        EffectStateBlock::writeUint32(bytes.data() + start, marker);
        EffectStateBlock::writeInt32(bytes.data() + start + 4, currentProgram);
        return bytes;
    }
};

class StateBlock : public ::testing::Test
{
protected:
    EffectInstallation installation{testEffectPath()};
    TestEffectConfig config = installation.defaults();

    std::unique_ptr<QuennetAudioProcessor> create()
    {
        installation.configure(config);
        auto processor = std::make_unique<QuennetAudioProcessor>();
        EXPECT_NE(processor->getEffect(), nullptr);
        return processor;
    }

    static Bytes save(QuennetAudioProcessor& processor)
    {
        juce::MemoryBlock block;
        processor.getStateInformation(block);
        return bytesOf(block);
    }

    static void restore(QuennetAudioProcessor& processor, const Bytes& bytes)
    {
        processor.setStateInformation(bytes.data(), static_cast<int>(bytes.size()));
    }

    std::vector<int32_t> opcodesSince(int from) const
    {
        std::vector<int32_t> opcodes;
        const TestEffectLog& log = installation.log();
        for (int i = from; i < log.count; ++i)
            opcodes.push_back(log.calls[i].kind == kTestCallDispatcher ? log.calls[i].opcode
                                                                       : -log.calls[i].kind);
        return opcodes;
    }

    // Restores bytes and returns the values the effect received through setParameter meanwhile, as
    // (index, value).
    std::vector<std::pair<int32_t, float>> valuesSetByRestoring(QuennetAudioProcessor& processor,
                                                                const Bytes& bytes) const
    {
        const TestEffectLog& log = installation.log();
        const int before = log.count;
        restore(processor, bytes);
        std::vector<std::pair<int32_t, float>> values;
        for (int i = before; i < log.count; ++i)
            if (log.calls[i].kind == kTestCallSetParameter)
                values.emplace_back(log.calls[i].opcode, log.calls[i].opt);
        return values;
    }

    // How many values a fresh processor hands the effect when it restores bytes.
    size_t valuesRestoredFrom(const Bytes& bytes)
    {
        auto processor = create();
        return valuesSetByRestoring(*processor, bytes).size();
    }

    int lastSetProgram() const
    {
        const TestEffectLog& log = installation.log();
        for (int i = log.count - 1; i >= 0; --i)
            if (log.calls[i].kind == kTestCallDispatcher && log.calls[i].opcode == effSetProgram)
                return static_cast<int>(log.calls[i].value);
        return -1;
    }
};

TEST_F(StateBlock, ParameterFormOfThreeParametersAndTwoProgramsIs168Bytes)
{
    auto processor = create();
    processor->setCurrentProgram(0);
    processor->setEffectParameter(0, 0.5f);
    processor->setCurrentProgram(1);
    processor->setEffectParameter(2, 0.75f);

    const Bytes block = save(*processor);
    ASSERT_EQ(block.size(), 168u);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 8), (Bytes{0, 0, 0, 3, 0, 0, 0, 2}));
    EXPECT_STREQ(reinterpret_cast<const char*>(block.data() + 8), "Program 0");
    EXPECT_EQ(block[8 + 63], 0) << "names are zero-padded";
    EXPECT_EQ(EffectStateBlock::readFloat(block.data() + 8 + 64), 0.5f);
    EXPECT_EQ(EffectStateBlock::readFloat(block.data() + 8 + 64 + 4), 0.25f);
    EXPECT_STREQ(reinterpret_cast<const char*>(block.data() + 8 + 76), "Program 1");
    EXPECT_EQ(EffectStateBlock::readFloat(block.data() + 8 + 76 + 64 + 8), 0.75f);
    EXPECT_EQ(Bytes(block.begin() + 72, block.begin() + 76), (Bytes{0x3F, 0x00, 0x00, 0x00}))
        << "big-endian 0.5";
    EXPECT_EQ(tail(block, 8), (Bytes{0x00, 0x00, 0x20, 0x01, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(lastSetProgram(), 1) << "the current program is selected again";
    EXPECT_EQ(processor->getCurrentProgram(), 1);
}

TEST_F(StateBlock, SavingAppendsToWhatTheDestinationHolds)
{
    auto processor = create();
    juce::MemoryBlock block;
    const uint8_t existing[4] = {1, 2, 3, 4};
    block.append(existing, sizeof(existing));
    processor->getStateInformation(block);
    ASSERT_EQ(block.getSize(), 4u + 168u);
    const Bytes all = bytesOf(block);
    EXPECT_EQ(Bytes(all.begin(), all.begin() + 4), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(tail(all, 8), (Bytes{0x00, 0x00, 0x20, 0x01, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(StateBlock, ChunkFormOfAThousandBytesEndsInTwoMarkersAndRestoresExactly)
{
    config.chunkMode = kTestChunkNormal;
    config.chunkSize = 1000;
    auto processor = create();
    const Bytes block = save(*processor);
    ASSERT_EQ(block.size(), 1008u);
    EXPECT_EQ(tail(block, 8), (Bytes{0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x30, 0x00}));
    EXPECT_EQ(block[999], static_cast<uint8_t>(999 * 7 + 3)) << "the effect's bytes as offered";

    auto fresh = create();
    restore(*fresh, block);
    EXPECT_EQ(installation.log().setChunkLength, 1000);
    EXPECT_EQ(std::memcmp(installation.log().setChunk, block.data(), 1000), 0);
}

TEST_F(StateBlock, ParameterFormRoundTripRestoresNamesValuesAndTheProgram)
{
    auto saved = create();
    saved->setCurrentProgram(1);
    saved->setEffectParameter(1, 0.125f);
    const Bytes block = save(*saved);
    saved.reset();

    auto processor = create();
    EXPECT_EQ(valuesSetByRestoring(*processor, block),
              (std::vector<std::pair<int32_t, float>>{
                  {0, 0.25f}, {1, 0.25f}, {2, 0.25f}, {0, 0.25f}, {1, 0.125f}, {2, 0.25f}}));
    EXPECT_STREQ(installation.log().setProgramNames[0], "Program 0");
    EXPECT_STREQ(installation.log().setProgramNames[1], "Program 1");
    EXPECT_EQ(lastSetProgram(), 1);
    EXPECT_EQ(processor->getEffectParameter(1), 0.125f);
    EXPECT_EQ(save(*processor), block);
}

TEST_F(StateBlock, FiveParameterBlockIntoThreeParameterEffectStepsByTheStoredRecordSize)
{
    auto processor = create();
    const Bytes block = BlockBuilder(5, 2)
                            .program("Alpha", {0.1f, 0.2f, 0.3f, 0.4f, 0.5f})
                            .program("Beta", {0.6f, 0.7f, 0.8f, 0.9f, 1.0f})
                            .finish(EffectStateBlock::kParameterFormMarker, 0);
    ASSERT_EQ(block.size(), 16u + 2u * 84u);
    EXPECT_EQ(valuesSetByRestoring(*processor, block),
              (std::vector<std::pair<int32_t, float>>{
                  {0, 0.1f}, {1, 0.2f}, {2, 0.3f}, {0, 0.6f}, {1, 0.7f}, {2, 0.8f}}));
    EXPECT_STREQ(installation.log().setProgramNames[0], "Alpha");
    EXPECT_STREQ(installation.log().setProgramNames[1], "Beta");
}

TEST_F(StateBlock, SmallerHeaderCountsLeaveTheRestAsItWas)
{
    auto processor = create();
    const Bytes block =
        BlockBuilder(1, 1).program("Solo", {0.9f}).finish(EffectStateBlock::kParameterFormMarker, 0);
    EXPECT_EQ(valuesSetByRestoring(*processor, block), (std::vector<std::pair<int32_t, float>>{{0, 0.9f}}));
    EXPECT_EQ(processor->getEffectParameter(1), 0.25f);
}

TEST_F(StateBlock, LegacyMarkerRestoresLikeTheCurrentOne)
{
    EXPECT_EQ(valuesRestoredFrom(BlockBuilder(3, 1)
                                     .program("Old", {0.3f, 0.3f, 0.3f})
                                     .finish(EffectStateBlock::kLegacyParameterFormMarker, 0)),
              3u);
    EXPECT_STREQ(installation.log().setProgramNames[0], "Old");
}

TEST_F(StateBlock, ChunkMarkerForAnEffectWithoutChunksIsReadAsTheParameterForm)
{
    EXPECT_EQ(valuesRestoredFrom(BlockBuilder(3, 1)
                                     .program("Odd", {0.7f, 0.7f, 0.7f})
                                     .finish(EffectStateBlock::kChunkFormMarker, 0)),
              3u);
    EXPECT_EQ(findEffectCall(installation.log(), kTestCallDispatcher, effSetChunk), -1);
}

TEST_F(StateBlock, ShortForeignAndMissingBlocksChangeNothing)
{
    auto processor = create();
    const int before = installation.log().count;
    const Bytes eleven(11, 0x20);
    restore(*processor, eleven);
    Bytes foreign = BlockBuilder(3, 1).program("X", {0.1f, 0.1f, 0.1f}).finish(0x00004000, 0);
    restore(*processor, foreign);
    processor->setStateInformation(nullptr, 200);
    processor->setStateInformation(foreign.data(), -5);
    EXPECT_EQ(installation.log().count, before);
}

TEST_F(StateBlock, RecordsReachingIntoTheTrailerAreNotRead)
{
    // The header promises two programs of three values, but only one record lies before the trailer.
    EXPECT_EQ(valuesRestoredFrom(BlockBuilder(3, 2)
                                     .program("Only", {0.4f, 0.4f, 0.4f})
                                     .finish(EffectStateBlock::kParameterFormMarker, 0)),
              3u);
    EXPECT_EQ(installation.log().setProgramNames[1][0], '\0');
}

TEST_F(StateBlock, HostileHeaderCountsNeitherReadOutsideTheBlockNorLoop)
{
    auto processor = create();
    const std::pair<int32_t, int32_t> headers[] = {
        {-1, 2},
        {3, -2},
        {std::numeric_limits<int32_t>::min(), 2},
        {0x40000000, 2},
        {0x3FFFFFF0, 2},
        {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},
        {0, std::numeric_limits<int32_t>::max()}};
    for (const auto& [parameters, programs] : headers)
    {
        // One honest 3-value record after the header: nothing beyond it may be read.
        const Bytes block = BlockBuilder(parameters, programs)
                                .program("Hostile", {0.6f, 0.6f, 0.6f})
                                .finish(EffectStateBlock::kParameterFormMarker, 0);
        const auto values = valuesSetByRestoring(*processor, block);
        EXPECT_LE(values.size(), 3u) << parameters << " x " << programs;
        for (const auto& [index, value] : values)
            EXPECT_EQ(value, 0.6f);
    }
}

TEST_F(StateBlock, TheStoredProgramIsSelectedLastAndOnlyIfTheEffectHasIt)
{
    auto processor = create();
    restore(*processor, BlockBuilder(3, 2)
                            .program("A", {0.1f, 0.1f, 0.1f})
                            .program("B", {0.2f, 0.2f, 0.2f})
                            .finish(EffectStateBlock::kParameterFormMarker, 1));
    EXPECT_EQ(lastSetProgram(), 1);
    EXPECT_EQ(installation.log().calls[installation.log().count - 1].opcode, effSetProgram);

    restore(*processor, BlockBuilder(3, 1)
                            .program("A", {0.1f, 0.1f, 0.1f})
                            .finish(EffectStateBlock::kParameterFormMarker, 0x7FFFFFFF));
    EXPECT_EQ(lastSetProgram(), 1) << "an impossible program keeps the one selected before";
}

TEST_F(StateBlock, DamagedValuesLeaveTheirParametersAlone)
{
    auto processor = create();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const Bytes block = BlockBuilder(3, 1)
                            .program("A", {nan, 0.5f, infinity})
                            .finish(EffectStateBlock::kParameterFormMarker, 0);
    EXPECT_EQ(valuesSetByRestoring(*processor, block), (std::vector<std::pair<int32_t, float>>{{1, 0.5f}}));
}

TEST_F(StateBlock, ValuesOutsideAParametersRangeAreBroughtIntoIt)
{
    // Bytes flipped in a stored block give values far outside 0..1, which effects that trust the
    // range turn into NaN output.
    auto processor = create();
    const Bytes block = BlockBuilder(3, 1)
                            .program("A", {1.0e30f, -3.0f, 1.0000001f})
                            .finish(EffectStateBlock::kParameterFormMarker, 0);
    EXPECT_EQ(valuesSetByRestoring(*processor, block),
              (std::vector<std::pair<int32_t, float>>{{0, 1.0f}, {1, 0.0f}, {2, 1.0f}}));
}

TEST_F(StateBlock, ChunkRestoreKeepsTheProgramTheChunkSelected)
{
    config.chunkMode = kTestChunkNormal;
    config.numPrograms = 4;
    auto saved = create();
    saved->setCurrentProgram(3);
    const Bytes block = save(*saved);
    saved.reset();

    auto processor = create(); // remembers program 0
    restore(*processor, block);
    EXPECT_EQ(processor->getCurrentProgram(), 3);
    EXPECT_EQ(lastSetProgram(), 3);
}

TEST_F(StateBlock, ChunkAnswersWithoutDataSaveOnlyTheMarkers)
{
    for (int32_t mode : {kTestChunkNullData, kTestChunkNegativeLength})
    {
        config.chunkMode = mode;
        auto processor = create();
        const Bytes block = save(*processor);
        EXPECT_EQ(block, (Bytes{0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x30, 0x00})) << "mode " << mode;
    }
}

TEST_F(StateBlock, ChunkSaveHoldsWhatTheSecondAnswerOffers)
{
    config.chunkSize = 1000;
    config.chunkMode = kTestChunkSecondLonger;
    auto longer = create();
    const Bytes grown = save(*longer);
    EXPECT_EQ(grown.size(), 1100u + 8u);
    EXPECT_EQ(grown[1099], static_cast<uint8_t>(1099 * 7 + 3));
    longer.reset();

    config.chunkMode = kTestChunkSecondShorter;
    auto shorter = create();
    EXPECT_EQ(save(*shorter).size(), 500u + 8u);
}

TEST_F(StateBlock, ChunkSaveAsksTwiceAndReadsTheProgramBetween)
{
    config.chunkMode = kTestChunkNormal;
    auto processor = create();
    const int before = installation.log().count;
    save(*processor);
    EXPECT_EQ(opcodesSince(before), (std::vector<int32_t>{effGetChunk, effGetProgram, effGetChunk}));
}

} // namespace
