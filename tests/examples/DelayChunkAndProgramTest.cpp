// Programs and the saved state: factory programs, switching and renaming, chunk round trips, and
// chunks that are cut short, foreign or hostile.

#include "DelayTestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace
{
constexpr int32_t kExpectedPrograms = 6;
constexpr int32_t kBankChunk = 0;
constexpr int32_t kProgramChunk = 1;

void putU32(std::vector<uint8_t>& out, size_t offset, uint32_t value)
{
    out[offset] = static_cast<uint8_t>(value >> 24);
    out[offset + 1] = static_cast<uint8_t>(value >> 16);
    out[offset + 2] = static_cast<uint8_t>(value >> 8);
    out[offset + 3] = static_cast<uint8_t>(value);
}

void putFloat(std::vector<uint8_t>& out, size_t offset, float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    putU32(out, offset, bits);
}

intptr_t restore(DelayHost& host, std::vector<uint8_t> bytes, int32_t index = kBankChunk)
{
    return host.dispatch(effSetChunk, index, static_cast<intptr_t>(bytes.size()), bytes.data());
}

// Changes every parameter of every program, every name and the current program.
void scramble(DelayHost& host, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int32_t program = 0; program < kExpectedPrograms; ++program)
    {
        host.dispatch(effSetProgram, 0, program);
        for (int32_t parameter = 0; parameter < kExpectedParameters; ++parameter)
            host.setParameter(parameter, value(random));
        std::string name = "scrambled " + std::to_string(random() % 1000);
        host.dispatch(effSetProgramName, 0, 0, name.data());
    }
    host.dispatch(effSetProgram, 0, static_cast<intptr_t>(random() % kExpectedPrograms));
}
} // namespace

TEST(DelayPrograms, SwitchingProgramsSwitchesValuesAndNames)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    ASSERT_EQ(host.record()->numPrograms, kExpectedPrograms);
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    EXPECT_EQ(host.programName(), "Default");

    std::vector<std::string> names;
    std::vector<std::vector<float>> values;
    for (int32_t program = 0; program < kExpectedPrograms; ++program)
    {
        host.dispatch(effSetProgram, 0, program);
        EXPECT_EQ(host.dispatch(effGetProgram), program);
        const std::string name = host.programName();
        EXPECT_EQ(name, host.programNameIndexed(program));
        EXPECT_FALSE(name.empty());
        EXPECT_LT(name.size(), 24u);
        std::vector<float> programValues;
        for (int32_t parameter = 0; parameter < kExpectedParameters; ++parameter)
            programValues.push_back(host.parameter(parameter));
        for (size_t other = 0; other < names.size(); ++other)
        {
            EXPECT_NE(name, names[other]);
            EXPECT_NE(programValues, values[other]) << name << " repeats " << names[other];
        }
        names.push_back(name);
        values.push_back(programValues);
    }

    // Numbers out of range change nothing.
    host.dispatch(effSetProgram, 0, 3);
    for (const intptr_t bad : {intptr_t{-1}, intptr_t{kExpectedPrograms}, intptr_t{1} << 40})
        host.dispatch(effSetProgram, 0, bad);
    EXPECT_EQ(host.dispatch(effGetProgram), 3);
    EXPECT_EQ(host.programNameIndexed(-1), "");
    EXPECT_EQ(host.programNameIndexed(kExpectedPrograms), "");
}

TEST(DelayPrograms, EditsStayWithTheirProgram)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    host.dispatch(effSetProgram, 0, 1);
    host.setParameter(kFeedback, 0.123f);
    host.dispatch(effSetProgram, 0, 2);
    EXPECT_NE(host.parameter(kFeedback), 0.123f);
    host.dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(host.parameter(kFeedback), 0.123f);
}

TEST(DelayPrograms, RenamingCutsLongNamesAndReadsNoFurtherThanANameCanBe)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    host.dispatch(effSetProgram, 0, 2);
    std::string name = "A very long program name that goes on";
    host.dispatch(effSetProgramName, 0, 0, name.data());
    EXPECT_EQ(host.programName(), name.substr(0, 23));
    EXPECT_EQ(host.programNameIndexed(2), name.substr(0, 23));

    char unterminated[24];
    std::memset(unterminated, 'z', sizeof(unterminated));
    host.dispatch(effSetProgramName, 0, 0, unterminated);
    EXPECT_EQ(host.programName(), std::string(23, 'z'));
}

TEST(DelayPrograms, ResumesProgramChangesAndRestoresAskTheHostToRereadValues)
{
    // Our module passes host-side parameter changes on to the effect only once the effect has asked
    // for a display update; these are the moments the delay asks.
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    int& updates = DelayHost::state().displayUpdates;
    host.prepare(48000.0, 512);
    EXPECT_EQ(updates, 1);
    host.dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(updates, 2);
    ASSERT_EQ(restore(host, host.chunk(kBankChunk)), 1);
    EXPECT_EQ(updates, 3);
    host.dispatch(effSetProgram, 0, -7);
    EXPECT_EQ(restore(host, {1, 2, 3}), 0);
    EXPECT_EQ(updates, 3);
}

TEST(DelayChunk, BankRoundTripRestoresEveryValueNameAndTheCurrentProgram)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    ASSERT_NE(host.record()->flags & effFlagsProgramChunks, 0);
    scramble(host, 1);
    const DelaySnapshot saved = DelaySnapshot::take(host);
    const std::vector<uint8_t> bank = host.chunk(kBankChunk);
    ASSERT_FALSE(bank.empty());

    scramble(host, 2);
    ASSERT_FALSE(DelaySnapshot::take(host) == saved);
    EXPECT_EQ(restore(host, bank), 1);
    EXPECT_TRUE(DelaySnapshot::take(host) == saved);

    // And into a brand-new instance, as when a session is opened.
    DelayHost other;
    ASSERT_TRUE(other.ok());
    EXPECT_EQ(restore(other, bank), 1);
    EXPECT_TRUE(DelaySnapshot::take(other) == saved);
}

TEST(DelayChunk, ProgramChunkRestoresIntoTheCurrentProgramOnly)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    host.dispatch(effSetProgram, 0, 4);
    host.setParameter(kMix, 0.77f);
    const std::vector<uint8_t> program = host.chunk(kProgramChunk);
    const std::string name = host.programName();

    host.dispatch(effSetProgram, 0, 1);
    const DelaySnapshot before = DelaySnapshot::take(host);
    EXPECT_EQ(restore(host, program, kProgramChunk), 1);
    EXPECT_EQ(host.dispatch(effGetProgram), 1);
    EXPECT_EQ(host.parameter(kMix), 0.77f);
    EXPECT_EQ(host.programName(), name);
    const DelaySnapshot after = DelaySnapshot::take(host);
    for (int32_t p = 0; p < kExpectedPrograms; ++p)
    {
        if (p != 1)
        {
            EXPECT_EQ(after.values[p], before.values[p]) << "program " << p;
        }
    }

    // A program chunk is not a bank, and the other way round.
    EXPECT_EQ(restore(host, program, kBankChunk), 0);
    EXPECT_EQ(restore(host, host.chunk(kBankChunk), kProgramChunk), 0);
}

TEST(DelayChunk, EveryTruncationIsRefusedWithoutChangingAnything)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    scramble(host, 3);
    const std::vector<uint8_t> bank = host.chunk(kBankChunk);
    scramble(host, 4);
    const DelaySnapshot before = DelaySnapshot::take(host);
    for (size_t length = 0; length < bank.size(); ++length)
    {
        // Copied into a buffer of exactly that length so that reading past it is caught by the sanitizer.
        std::vector<uint8_t> cut(bank.begin(), bank.begin() + static_cast<long>(length));
        ASSERT_EQ(host.dispatch(effSetChunk, kBankChunk, static_cast<intptr_t>(length), cut.data()), 0)
            << "length " << length;
    }
    std::vector<uint8_t> longer = bank;
    longer.push_back(0);
    EXPECT_EQ(restore(host, longer), 0);
    EXPECT_TRUE(DelaySnapshot::take(host) == before);
}

TEST(DelayChunk, ForeignAndGarbageDataIsRefused)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    scramble(host, 5);
    const DelaySnapshot before = DelaySnapshot::take(host);
    const std::vector<uint8_t> bank = host.chunk(kBankChunk);

    std::mt19937 random(11);
    for (int trial = 0; trial < 200; ++trial)
    {
        std::vector<uint8_t> garbage(random() % 400);
        for (auto& byte : garbage)
            byte = static_cast<uint8_t>(random());
        EXPECT_EQ(restore(host, garbage), 0);
    }
    auto altered = [&](size_t offset, uint32_t value)
    {
        std::vector<uint8_t> bytes = bank;
        putU32(bytes, offset, value);
        return bytes;
    };
    EXPECT_EQ(restore(host, altered(0, 0x56737450)), 0);  // another effect's magic
    EXPECT_EQ(restore(host, altered(4, 2)), 0);           // a future format version
    EXPECT_EQ(restore(host, altered(12, 0xFFFFFFFF)), 0); // absurd parameter count
    EXPECT_EQ(restore(host, altered(16, 0x40000000)), 0); // absurd program count
    EXPECT_EQ(restore(host, altered(16, 0)), 0);
    EXPECT_EQ(host.dispatch(effSetChunk, kBankChunk, 100, nullptr), 0);
    EXPECT_EQ(host.dispatch(effSetChunk, kBankChunk, -5, const_cast<uint8_t*>(bank.data())), 0);
    EXPECT_TRUE(DelaySnapshot::take(host) == before);
}

TEST(DelayChunk, NotANumberInAChunkKeepsTheValueAndOtherValuesAreLimited)
{
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    std::vector<uint8_t> bank = host.chunk(kBankChunk);
    const size_t header = 24, record = 24 + 4 * kExpectedParameters;
    const size_t values = 24; // each record: a 24-byte name, then the values
    putFloat(bank, header + values + 4 * kFeedback, NAN);
    putFloat(bank, header + values + 4 * kMix, 7.0f);
    putFloat(bank, header + record + values + 4 * kTime, -3.0f);
    const float feedbackBefore = host.parameter(kFeedback);
    ASSERT_EQ(restore(host, bank), 1);
    EXPECT_EQ(host.parameter(kFeedback), feedbackBefore);
    EXPECT_EQ(host.parameter(kMix), 1.0f);
    host.dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(host.parameter(kTime), 0.0f);
}

TEST(DelayChunk, AChunkWithFewerParametersAndProgramsRestoresWhatItHas)
{
    // What an older build with three parameters and two programs would have saved.
    auto storedValue = [](size_t program, size_t parameter)
    { return 0.1f * static_cast<float>(program + 1) + 0.01f * static_cast<float>(parameter); };
    DelayHost host;
    ASSERT_TRUE(host.ok()) << host.error();
    const size_t storedParameters = 3, storedPrograms = 2, record = 24 + 4 * storedParameters;
    std::vector<uint8_t> bank(24 + storedPrograms * record, 0);
    putU32(bank, 0, 0x4F6D446C); // 'OmDl'
    putU32(bank, 4, 1);
    putU32(bank, 8, 0x62616E6B); // 'bank'
    putU32(bank, 12, storedParameters);
    putU32(bank, 16, storedPrograms);
    putU32(bank, 20, 1);
    std::memcpy(bank.data() + 24, "Old One", 7);
    std::memcpy(bank.data() + 24 + record, "Old Two", 7);
    for (size_t p = 0; p < storedPrograms; ++p)
        for (size_t j = 0; j < storedParameters; ++j)
            putFloat(bank, 24 + p * record + 24 + 4 * j, storedValue(p, j));

    const DelaySnapshot before = DelaySnapshot::take(host);
    ASSERT_EQ(restore(host, bank), 1);
    const DelaySnapshot after = DelaySnapshot::take(host);
    EXPECT_EQ(after.current, 1);
    EXPECT_EQ(after.names[0], "Old One");
    EXPECT_EQ(after.names[1], "Old Two");
    EXPECT_EQ(after.values[0][0], storedValue(0, 0));
    EXPECT_EQ(after.values[1][2], storedValue(1, 2));
    EXPECT_EQ(after.values[1][kHighCut], before.values[1][kHighCut]);
    for (int32_t p = 2; p < kExpectedPrograms; ++p)
    {
        EXPECT_EQ(after.names[p], before.names[p]);
        EXPECT_EQ(after.values[p], before.values[p]);
    }
}
