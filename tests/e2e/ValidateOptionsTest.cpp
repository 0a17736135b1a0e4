// How `ombrel-host validate` is run: a seed that makes a run repeatable, whole runs repeated,
// checks chosen by regular expression, options from a JSON file, and a render compared with a
// stored reference.

#include "HostFixture.h"

#include <regex>
#include <sstream>

namespace e2e
{
namespace
{

class ValidateOptions : public HostFixture
{
protected:
    void WriteText(const std::string& name, const std::string& text) const
    {
        WriteBytes(PathTo(name), std::vector<uint8_t>(text.begin(), text.end()));
    }
};

// Every check of a JSON report as "group / name: status reason" (no figures, which hold times).
std::vector<std::string> CheckLines(const std::string& json)
{
    static const std::regex check("\"group\": (\"[^\"]*\"), \"name\": (\"[^\"]*\"), \"status\": (\"[A-Z]+\"), "
                                  "\"reason\": (\"(?:[^\"\\\\]|\\\\.)*\")");
    std::vector<std::string> lines;
    for (auto it = std::sregex_iterator(json.begin(), json.end(), check); it != std::sregex_iterator(); ++it)
        lines.push_back((*it)[1].str() + " / " + (*it)[2].str() + ": " + (*it)[3].str() + " " + (*it)[4].str());
    return lines;
}

// The report's check lines (two spaces, a status, two spaces).
std::vector<std::string> ReportedChecks(const std::string& out)
{
    static const std::regex status("^  (PASS|WARN|FAIL|SKIP)  ");
    std::vector<std::string> lines;
    std::istringstream text(out);
    for (std::string line; std::getline(text, line);)
        if (std::regex_search(line, status))
            lines.push_back(line);
    return lines;
}

TEST_F(ValidateOptions, TheSeedIsPrintedAndTheSameSeedGivesTheSameReport)
{
    const std::vector<std::string> common = {"validate", DelayBundle(), "--strictness", "1", "--layout", "stereo",
                                             "--only", "^(parameters|state)$|restored|readings"};
    std::vector<std::string> first = common;
    first.insert(first.end(), {"--seed", "4242", "--json", "first.json"});
    std::vector<std::string> second = common;
    second.insert(second.end(), {"--seed", "4242", "--json", "second.json"});
    const RunResult one = Host(first);
    const RunResult two = Host(second);
    EXPECT_EXIT_CODE(one, 0);
    EXPECT_EXIT_CODE(two, 0);
    EXPECT_TRUE(Contains(one.out, "strictness 1, layouts stereo, seed 4242, ")) << one.out;
    const std::string json = ReadText(PathTo("first.json"));
    EXPECT_TRUE(Contains(json, "\"seed\": 4242,")) << json;
    const std::vector<std::string> checks = CheckLines(json);
    EXPECT_GE(checks.size(), 2u) << json;
    EXPECT_EQ(checks, CheckLines(ReadText(PathTo("second.json"))));

    // Without --seed the validator picks one, prints it and writes it into the report.
    const RunResult picked = Host({"validate", DelayBundle(), "--strictness", "1", "--layout", "stereo", "--only",
                                   "^state stable$", "--json", "picked.json"});
    EXPECT_EXIT_CODE(picked, 0);
    std::smatch seed;
    const std::string& out = picked.out;
    ASSERT_TRUE(std::regex_search(out, seed, std::regex("seed ([0-9]+), "))) << out;
    EXPECT_TRUE(Contains(ReadText(PathTo("picked.json")), "\"seed\": " + seed[1].str() + ",")) << out;
}

TEST_F(ValidateOptions, RepeatRunsEachRepetitionWithTheNextSeedAndNamesTheRepetitionOfEachFailure)
{
    const RunResult run = Host({"validate", BundleWith(OMBREL_E2E_NAN_EFFECT, "Nan"), "--strictness", "1",
                                "--layout", "stereo", "--only", "blocks of 16, noise", "--repeat", "2", "--seed",
                                "70", "--json", "report.json", "--junit", "report.xml"});
    EXPECT_EXIT_CODE(run, 1);
    EXPECT_TRUE(Contains(run.out, "2 repetitions, seeds 70 to 71")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\nrepetition 1 of 2, seed 70\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\nrepetition 2 of 2, seed 71\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\nfailures by repetition:\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "  repetition 1 (seed 70): stereo, blocks of 16, noise: ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "  repetition 2 (seed 71): stereo, blocks of 16, noise: ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "validate: 0 passed, 2 failed, 0 skipped over 2 repetitions")) << run.out;

    const std::string json = ReadText(PathTo("report.json"));
    EXPECT_TRUE(Contains(json, "\"seed\": 70,")) << json;
    EXPECT_TRUE(Contains(json, "\"repeat\": 2,")) << json;
    EXPECT_TRUE(Contains(json, "\"status\": \"FAIL\"")) << json;
    EXPECT_TRUE(Contains(json, "\"repetition\": 1}")) << json;
    EXPECT_TRUE(Contains(json, "\"repetition\": 2}")) << json;
    const std::string junit = ReadText(PathTo("report.xml"));
    EXPECT_TRUE(Contains(junit, "name=\"stereo, blocks of 16, noise [repetition 2]\"")) << junit;
}

TEST_F(ValidateOptions, OnlyAndSkipChooseTheChecksAndGroupsWithoutAChosenCheckDoNotRun)
{
    const RunResult only = Host({"validate", DelayBundle(), "--strictness", "1", "--layout", "stereo", "--only",
                                 "latency", "--json", "only.json"});
    EXPECT_EXIT_CODE(only, 0);
    const std::vector<std::string> checks = ReportedChecks(only.out);
    ASSERT_EQ(checks.size(), 1u) << only.out;
    EXPECT_TRUE(Contains(checks[0], "PASS  latency (stereo)")) << only.out;
    EXPECT_TRUE(Contains(only.out, "only checks matching latency\n")) << only.out;
    EXPECT_TRUE(Contains(only.out, "not run, as no check of theirs is selected: description and instantiation, "
                                   "rates and block lengths, parameters, state, editor, allocation on the audio "
                                   "path, lifetime\n"))
        << only.out;
    EXPECT_TRUE(Contains(only.out, "\nprocessing\n")) << only.out;
    EXPECT_EQ(CheckLines(ReadText(PathTo("only.json"))).size(), 1u);

    // A group's name selects all of its checks; --skip leaves some of them out again.
    const RunResult skip = Host({"validate", DelayBundle(), "--strictness", "1", "--layout", "stereo", "--only",
                                 "^state$", "--skip", "damaged|stable"});
    EXPECT_EXIT_CODE(skip, 0);
    const std::vector<std::string> state = ReportedChecks(skip.out);
    ASSERT_EQ(state.size(), 3u) << skip.out;
    EXPECT_TRUE(Contains(state[0], "PASS  save")) << skip.out;
    EXPECT_TRUE(Contains(state[1], "PASS  parameters restored")) << skip.out;
    EXPECT_TRUE(Contains(state[2], "PASS  values between texts restored")) << skip.out;
    EXPECT_TRUE(Contains(skip.out, "\nstate\n")) << skip.out;
    EXPECT_FALSE(Contains(skip.out, "\nprocessing\n")) << skip.out;

    for (const char* option : {"--only", "--skip"})
    {
        const RunResult bad = Host({"validate", DelayBundle(), option, "latency ("});
        EXPECT_EXIT_CODE(bad, 2);
        EXPECT_TRUE(Contains(bad.err, std::string(option) + " must be a regular expression: `latency (` is not one"))
            << bad.err;
    }
}

TEST_F(ValidateOptions, AConfigFileSetsOptionsAndTheCommandLineWins)
{
    WriteText("settings.json", "{\"strictness\": 1, \"layout\": \"stereo\", \"seed\": 99, \"only\": \"latency\",\n"
                               " \"in-process\": true, \"json\": \"from-config.json\"}");
    const RunResult applied = Host({"validate", DelayBundle(), "--config", "settings.json"});
    EXPECT_EXIT_CODE(applied, 0);
    EXPECT_TRUE(Contains(applied.out, "strictness 1, layouts stereo, seed 99, every group in this process\n"))
        << applied.out;
    EXPECT_EQ(ReportedChecks(applied.out).size(), 1u) << applied.out;
    EXPECT_TRUE(Contains(ReadText(PathTo("from-config.json")), "\"seed\": 99,"));

    const RunResult overridden =
        Host({"validate", DelayBundle(), "--config", "settings.json", "--seed", "5", "--only", "cpu time"});
    EXPECT_EXIT_CODE(overridden, 0);
    EXPECT_TRUE(Contains(overridden.out, "strictness 1, layouts stereo, seed 5, ")) << overridden.out;
    const std::vector<std::string> checks = ReportedChecks(overridden.out);
    ASSERT_EQ(checks.size(), 1u) << overridden.out;
    EXPECT_TRUE(Contains(checks[0], "cpu time (stereo)")) << overridden.out;

    struct Refused
    {
        const char* file;
        const char* message;
    };
    const Refused refused[] = {
        {"{\"strictnes\": 1}", "--config bad.json: unknown key \"strictnes\" (the keys are strictness, layout,"},
        {"{\"strictness\": \"1\"}", "--config bad.json: \"strictness\" must be a number"},
        {"{\"strictness\": 11}", "--config bad.json: \"strictness\" must be a whole number from 1 to 10"},
        {"{\"in-process\": 1}", "--config bad.json: \"in-process\" must be true or false"},
        {"{\"only\": \"(\"}", "--config bad.json: \"only\" must be a regular expression"},
        {"{\"layout\": }", "--config bad.json: not JSON: "},
        {"[1, 2]", "--config bad.json: not a JSON object of option names and values"},
    };
    for (const Refused& bad : refused)
    {
        SCOPED_TRACE(bad.file);
        WriteText("bad.json", bad.file);
        const RunResult run = Host({"validate", DelayBundle(), "--config", "bad.json"});
        EXPECT_EXIT_CODE(run, 2);
        EXPECT_TRUE(Contains(run.err, bad.message)) << run.err;
    }
}

TEST_F(ValidateOptions, AReferenceIsWrittenThenMatchedAndAMismatchNamesItsSample)
{
    const std::vector<std::string> command = {"validate", DelayBundle(),  "--strictness", "1",      "--only",
                                              "reference", "--reference", "ref.wav",      "--seed", "1"};
    const RunResult written = Host(command);
    EXPECT_EXIT_CODE(written, 0);
    EXPECT_TRUE(Contains(written.out, "SKIP  reference render")) << written.out;
    EXPECT_TRUE(Contains(written.out, "reference written to " + PathTo("ref.wav") +
                                          " (stereo, 2 channels of 48000 samples at 48 kHz)"))
        << written.out;
    juce::AudioBuffer<float> reference = ReadAudio(PathTo("ref.wav"));
    ASSERT_EQ(reference.getNumChannels(), 2);
    ASSERT_EQ(reference.getNumSamples(), 48000);
    EXPECT_GT(reference.getMagnitude(0, 24000), 0.1f) << "the render carries the noise";

    // Another seed of the run does not change the reference's input.
    std::vector<std::string> again = command;
    again.back() = "2";
    const RunResult matched = Host(again);
    EXPECT_EXIT_CODE(matched, 0);
    EXPECT_TRUE(Contains(matched.out, "PASS  reference render")) << matched.out;
    EXPECT_TRUE(Contains(matched.out, "largest difference 0, tolerance 1e-06")) << matched.out;

    const float stored = reference.getSample(1, 1000);
    reference.setSample(1, 1000, stored + 0.25f);
    reference.setSample(0, 30000, reference.getSample(0, 30000) + 1.0e-7f); // within the tolerance
    WriteAudio(PathTo("ref.wav"), reference);
    const RunResult mismatched = Host(command);
    EXPECT_EXIT_CODE(mismatched, 1);
    std::string line;
    for (const std::string& check : ReportedChecks(mismatched.out))
        if (Contains(check, "reference render"))
            line = check;
    EXPECT_TRUE(Contains(line, "1 sample differs from " + PathTo("ref.wav") +
                                   " by more than the tolerance, first channel 2, sample index 1000: "))
        << mismatched.out;
    char values[80];
    std::snprintf(values, sizeof values, "%.9g rendered, %.9g in the reference", static_cast<double>(stored),
                  static_cast<double>(stored + 0.25f));
    EXPECT_TRUE(Contains(line, values)) << line;
    EXPECT_TRUE(Contains(line, "largest difference 0.25")) << line;

    // A looser tolerance accepts it.
    std::vector<std::string> loose = command;
    loose.insert(loose.end(), {"--tolerance", "0.5"});
    EXPECT_EXIT_CODE(Host(loose), 0);
}

} // namespace
} // namespace e2e
