// `ombrel-host validate --fuzz` run as an effect developer runs it: random host sequences find a
// crash that a fixed set of checks does not meet, name the sequence's seed and its operations, and
// `--reproduce` plays the very same operations again into the same crash; an effect that behaves
// gives no finding.

#include "HostFixture.h"

#include <csignal>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace e2e
{
namespace
{

using Fuzz = HostFixture;

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The numbered operation lines ("   12. process ...") of an output, in order.
std::vector<std::string> OperationLines(const std::string& output)
{
    static const std::regex numbered(R"(^ *\d+\. .*)");
    std::vector<std::string> lines;
    std::istringstream text(output);
    for (std::string line; std::getline(text, line);)
        if (std::regex_match(line, numbered))
            lines.push_back(line);
    return lines;
}

// The seed of the "replay it with: ... --reproduce SEED" line, or empty.
std::string ReplaySeed(const std::string& output)
{
    std::smatch match;
    static const std::regex replay(R"(replay it with: ombrel-host validate .* --reproduce (\d+))");
    return std::regex_search(output, match, replay) ? match[1].str() : std::string();
}

TEST_F(Fuzz, FindsTheRareCrashAndReplaysItExactly)
{
    // The effect crashes only on a short block of odd length while the transport plays after Tone
    // has gone above 0.95 with Gain below 0.05: random sequences at this seed meet that within
    // half a minute; the bound is generous for a loaded machine.
    const std::string bundle = BundleWith(OMBREL_E2E_RARE_CRASH_EFFECT, "RareCrash");
    // The fixed checks never meet it.
    const RunResult checks = Host({"validate", bundle, "--strictness", "1", "--layout", "stereo"});
    EXPECT_EXIT_CODE(checks, 0);
    EXPECT_FALSE(Contains(checks.out, "crash")) << checks.out;

    const RunResult fuzz = Host({"validate", bundle, "--fuzz", "240", "--seed", "21"}, CrashesReachTheValidator());
    EXPECT_EXIT_CODE(fuzz, 1);
    EXPECT_TRUE(Contains(fuzz.out, "FINDING in sequence ")) << fuzz.out;
    EXPECT_TRUE(Contains(fuzz.out, ": crash: SIGSEGV, in operation ")) << fuzz.out;
    EXPECT_TRUE(Contains(fuzz.out, "; 1 finding")) << fuzz.out;
    const std::vector<std::string> listed = OperationLines(fuzz.out);
    ASSERT_FALSE(listed.empty()) << fuzz.out;
    EXPECT_TRUE(Contains(listed.front(), "1. load the module")) << fuzz.out;
    // The fatal operation is a block run, with the transport playing.
    EXPECT_TRUE(Contains(listed.back(), "process ") && Contains(listed.back(), "transport playing")) << fuzz.out;
    const std::string seed = ReplaySeed(fuzz.out);
    ASSERT_FALSE(seed.empty()) << fuzz.out;

    // The replay runs in the foreground: the host itself crashes in the same operation, after
    // printing the same operations.
    const RunResult replay = Host({"validate", bundle, "--reproduce", seed}, CrashesReachTheValidator());
    EXPECT_EQ(replay.signal, SIGSEGV) << replay.Describe();
    EXPECT_TRUE(Contains(replay.out, "replaying the sequence of seed " + seed)) << replay.out;
    EXPECT_EQ(OperationLines(replay.out), listed) << replay.out;
}

TEST_F(Fuzz, AReplayOfAHarmlessSequenceEndsWithoutAFinding)
{
    // The same seed plays the same operations every time.
    const RunResult first = Host({"validate", DelayBundle(), "--reproduce", "12345"});
    EXPECT_EXIT_CODE(first, 0);
    EXPECT_TRUE(Contains(first.out, "the sequence ended without a finding")) << first.out;
    const std::vector<std::string> operations = OperationLines(first.out);
    ASSERT_GE(operations.size(), 3u) << first.out;
    EXPECT_TRUE(Contains(operations[1], "2. create a ")) << first.out;
    EXPECT_TRUE(Contains(operations.back(), "tear down whatever is still open")) << first.out;
    const RunResult second = Host({"validate", DelayBundle(), "--reproduce", "12345"});
    EXPECT_EQ(OperationLines(second.out), operations) << second.out;
}

TEST_F(Fuzz, FindsNothingInTheBundledDelay)
{
    const RunResult run = Host({"validate", DelayBundle(), "--fuzz", "5", "--seed", "3"});
    EXPECT_EXIT_CODE(run, 0);
    EXPECT_TRUE(Contains(run.out, "seed 3, each sequence in a child process")) << run.out;
    EXPECT_TRUE(Contains(run.out, "operations per minute); no finding")) << run.out;
    EXPECT_FALSE(Contains(run.out, "FINDING")) << run.out;
    EXPECT_FALSE(Contains(run.out, "fuzz: 0 sequences")) << run.out;
}

TEST_F(Fuzz, NamesOutputThatIsNotFiniteAndAStateThatDoesNotSaveAgainAsItself)
{
    struct Case
    {
        const char* library;
        const char* folder;
        const char* finding;
    };
    const Case cases[] = {
        {OMBREL_E2E_NAN_EFFECT, "Nan", "non-finite output: "},
        // It saves its own instance number whatever it was given.
        {OMBREL_E2E_UNSTABLE_STATE_EFFECT, "Unstable", "restored as saved ("},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.folder);
        const RunResult run = Host({"validate", BundleWith(c.library, c.folder), "--fuzz", "120", "--seed", "5"});
        EXPECT_EXIT_CODE(run, 1);
        EXPECT_TRUE(Contains(run.out, c.finding)) << run.out;
        EXPECT_FALSE(ReplaySeed(run.out).empty()) << run.out;
    }
}

TEST_F(Fuzz, RefusesADurationThatIsNotPositive)
{
    const RunResult run = Host({"validate", DelayBundle(), "--fuzz", "0"});
    EXPECT_EXIT_CODE(run, 2);
    EXPECT_TRUE(Contains(run.err, "--fuzz must be a number of seconds above 0")) << run.Describe();
}

} // namespace
} // namespace e2e
