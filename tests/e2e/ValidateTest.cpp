// `ombrel-host validate` run as an effect developer runs it: it passes on effects that behave, and
// on effects built to misbehave it names each fault, exits non-zero and finishes its report.

#include "HostFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace e2e
{
namespace
{

class Validate : public HostFixture
{
protected:
    // Validates a test effect at strictness 1 in stereo, expecting a finished report without a
    // failure and with the parameters restored; gives the line of the warning on values between
    // texts ("" if none) and the line of the parameters restored.
    std::string BetweenTextsWarning(const char* effect, const char* name) const;
};

// A finished report: every group reached, the summary line at the end.
void ExpectFinishedReport(const RunResult& run)
{
    EXPECT_TRUE(run.Exited()) << run.Describe();
    for (const char* group : {"description and instantiation", "processing", "rates and block lengths", "parameters",
                              "state", "editor", "allocation on the audio path", "lifetime"})
        EXPECT_TRUE(Contains(run.out, std::string("\n") + group + "\n")) << group << "\n" << run.out;
    EXPECT_TRUE(Contains(run.out, "\nvalidate: ")) << run.out;
}

TEST_F(Validate, PassesOnTheBundledDelayWithItsReports)
{
    const RunResult run = Host(
        {"validate", DelayBundle(), "--strictness", "1", "--json", "report.json", "--junit", "report.xml"});
    ExpectFinishedReport(run);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(Contains(run.out, " failed") && Contains(run.out, ", 0 failed, ")) << run.out;
    EXPECT_FALSE(Contains(run.out, "  FAIL  ")) << run.out;
    // The figures the checks report.
    EXPECT_TRUE(Contains(run.out, "processable in ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "% of real time")) << run.out;
    EXPECT_TRUE(Contains(run.out, "latency (stereo)")) << run.out;
    EXPECT_TRUE(Contains(run.out, "0.00 allocations and 0 bytes per block")) << run.out;

    const std::string json = ReadText(PathTo("report.json"));
    EXPECT_TRUE(Contains(json, "\"failed\": 0,")) << json;
    EXPECT_TRUE(Contains(json, "\"group\": \"state\", \"name\": \"state stable\", \"status\": \"PASS\""))
        << json;
    const std::string junit = ReadText(PathTo("report.xml"));
    EXPECT_TRUE(Contains(junit, "<testsuites ")) << junit;
    EXPECT_TRUE(Contains(junit, "failures=\"0\"")) << junit;
    EXPECT_TRUE(Contains(junit, "<testsuite name=\"lifetime\"")) << junit;
}

TEST_F(Validate, PassesOnIemDualDelay)
{
    if (!IemAvailable())
        GTEST_SKIP() << "IEM's DualDelay is not installed";
    const RunResult run = Host({"validate", IemBundle(), "--strictness", "1", "--layout", "stereo"});
    ExpectFinishedReport(run);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(Contains(run.out, "PASS  alive")) << run.out;
}

struct Misbehaviour
{
    const char* library;
    const char* folder;
    const char* reason; // in the FAIL line
};

TEST_F(Validate, NamesEachMisbehaviourAndStillFinishes)
{
    const Misbehaviour cases[] = {
        {OMBREL_E2E_CRASHING_EFFECT, "Crashing", "crash: SIGSEGV, in step: "},
        {OMBREL_E2E_HANGING_EFFECT, "Hanging", "hang: no end within 3 s, in step: "},
        {OMBREL_E2E_NAN_EFFECT, "Nan", "output samples are not finite"},
        {OMBREL_E2E_UNSTABLE_STATE_EFFECT, "Unstable", "the state does not round-trip"},
        {OMBREL_E2E_THROWING_EFFECT, "Throwing", "the effect's fault: it threw taking parameter 1 = 1.0000"},
    };
    for (const Misbehaviour& misbehaviour : cases)
    {
        SCOPED_TRACE(misbehaviour.folder);
        const RunResult run = Host({"validate", BundleWith(misbehaviour.library, misbehaviour.folder),
                                    "--strictness", "1", "--layout", "stereo", "--timeout", "3"},
                                   CrashesReachTheValidator());
        ExpectFinishedReport(run);
        EXPECT_EQ(run.exitCode, 1) << run.out;
        bool named = false;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);)
            named |= Contains(line, "  FAIL  ") && Contains(line, misbehaviour.reason);
        EXPECT_TRUE(named) << run.out;
        EXPECT_FALSE(Contains(run.out, ", 0 failed, ")) << run.out;
    }
}

TEST_F(Validate, TheLatencyTheHostIsToldMustBeTheDelayAnImpulseTakes)
{
    // Both report 64 samples; the first delays its output by them, the second delays nothing.
    const RunResult kept = Host({"validate", BundleWith(OMBREL_E2E_LATENT_EFFECT, "Latent"), "--strictness",
                                 "1", "--layout", "stereo"});
    ExpectFinishedReport(kept);
    EXPECT_TRUE(Contains(kept.out, "PASS  latency (stereo)")) << kept.out;
    EXPECT_TRUE(Contains(kept.out, "reported 64 samples, measured 64 samples")) << kept.out;

    const RunResult claimed = Host({"validate", BundleWith(OMBREL_E2E_MISREPORTED_LATENCY_EFFECT, "Claimed"),
                                    "--strictness", "1", "--layout", "stereo"});
    ExpectFinishedReport(claimed);
    EXPECT_EQ(claimed.exitCode, 1) << claimed.out;
    EXPECT_TRUE(Contains(claimed.out, "FAIL  latency (stereo)")) << claimed.out;
    EXPECT_TRUE(Contains(claimed.out, "reported 64 samples, measured 0 samples")) << claimed.out;
}

// The lines of a report with the status, in order.
std::vector<std::string> LinesWith(const std::string& out, const std::string& status)
{
    std::vector<std::string> found;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (Contains(line, "  " + status + "  "))
            found.push_back(line);
    return found;
}

TEST_F(Validate, EachRateAndBufferMisbehaviourFailsItsOwnCheckAndPassesTheRest)
{
    struct Case
    {
        const char* library;
        const char* folder;
        const char* strictness;
        const char* status;
        const char* check;
        const char* reason;
    };
    const Case cases[] = {
        // Blocks of random lengths from strictness 1 on: the effect's rounding always shows.
        {OMBREL_E2E_OVERWRITING_EFFECT, "Overwriting", "1", "FAIL", "buffers untouched (stereo)",
         "the plug-in wrote the host's buffers outside its block's outputs: output channel 0 past the block "
         "end, sample"},
        // The timing and the fourth change come from strictness 5 on.
        {OMBREL_E2E_DENORMALISING_EFFECT, "Denormalising", "5", "WARN", "denormal input (stereo)",
         "x on input decaying into denormal numbers at 48000 Hz, blocks of 512 samples (stereo)"},
        {OMBREL_E2E_RATE_CRASHING_EFFECT, "RateCrashing", "5", "FAIL", "rates and block lengths",
         "crash: SIGSEGV, in step: changing the rate of the live instance from 44144.1 Hz to 192000 Hz (stereo)"},
    };
    for (const Case& misbehaviour : cases)
    {
        SCOPED_TRACE(misbehaviour.folder);
        const RunResult run = Host({"validate", BundleWith(misbehaviour.library, misbehaviour.folder),
                                    "--strictness", misbehaviour.strictness, "--layout", "stereo"},
                                   CrashesReachTheValidator());
        ExpectFinishedReport(run);
        const std::vector<std::string> failed = LinesWith(run.out, "FAIL");
        const std::vector<std::string> warned = LinesWith(run.out, "WARN");
        const std::vector<std::string>& own = std::string(misbehaviour.status) == "FAIL" ? failed : warned;
        ASSERT_EQ(1u, own.size()) << run.out;
        EXPECT_TRUE(Contains(own[0], misbehaviour.check)) << own[0];
        EXPECT_TRUE(Contains(own[0], misbehaviour.reason)) << own[0];
        EXPECT_EQ(std::string(misbehaviour.status) == "FAIL" ? 1u : 0u, failed.size()) << run.out;
        EXPECT_EQ(run.exitCode, failed.empty() ? 0 : 1) << run.out;
    }
}

TEST_F(Validate, TheBundledDelayPassesTheRatesAndBuffersAtStrictnessFive)
{
    const RunResult run = Host({"validate", DelayBundle(), "--strictness", "5", "--layout", "stereo"});
    ExpectFinishedReport(run);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(LinesWith(run.out, "FAIL").empty()) << run.out;
    for (const char* check : {"PASS  rate 384000 Hz (stereo)", "PASS  rate 44144.1 Hz (stereo)",
                              "PASS  rate change without release (stereo)", "PASS  buffers untouched (stereo)",
                              "7 changes followed"})
        EXPECT_TRUE(Contains(run.out, check)) << check << "\n" << run.out;
    EXPECT_TRUE(Contains(run.out, "denormal input (stereo)")) << run.out;
}

// The FAIL lines of a report.
std::vector<std::string> FailLines(const std::string& out)
{
    return LinesWith(out, "FAIL");
}

TEST_F(Validate, EachParameterMisbehaviourFailsItsOwnCheckAloneNamingParameterAndLayout)
{
    struct Case
    {
        const char* library;
        const char* folder;
        const char* check;
        std::vector<const char*> reasons;
    };
    const Case cases[] = {
        // Its Tone shows nothing from 0.30 to 0.59: the first empty text, the 29 after it.
        {OMBREL_E2E_TEXTLESS_EFFECT, "Textless", "FAIL  texts present",
         {"1 parameters show no readable text at some values, first parameter 1 \"Tone\" shows 0.3000 \"\" "
          "(and 29 more of its 101 texts), stereo layout"}},
        // It switches the locale as it is made, when the module opens an instance.
        {OMBREL_E2E_LOCALE_CHANGING_EFFECT, "Locale", "FAIL  numeric locale",
         {"the effect changed the process's numeric locale (LC_NUMERIC) while opening an instance, from ",
          " (decimal point \""}},
    };
    for (const Case& misbehaviour : cases)
    {
        SCOPED_TRACE(misbehaviour.folder);
        const RunResult run = Host({"validate", BundleWith(misbehaviour.library, misbehaviour.folder),
                                    "--strictness", "1", "--layout", "stereo"});
        ExpectFinishedReport(run);
        EXPECT_EQ(run.exitCode, 1) << run.out;
        const std::vector<std::string> failures = FailLines(run.out);
        ASSERT_EQ(failures.size(), 1u) << run.out;
        EXPECT_TRUE(Contains(failures[0], misbehaviour.check)) << failures[0];
        for (const char* reason : misbehaviour.reasons)
            EXPECT_TRUE(Contains(failures[0], reason)) << failures[0];
    }
}

std::string Validate::BetweenTextsWarning(const char* effect, const char* name) const
{
    const RunResult run =
        Host({"validate", BundleWith(effect, name), "--strictness", "1", "--layout", "stereo"});
    ExpectFinishedReport(run);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(FailLines(run.out).empty()) << run.out;
    EXPECT_TRUE(Contains(run.out, "PASS  parameters restored")) << run.out;
    std::string warning;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);)
        if (Contains(line, "  WARN  values between texts restored"))
            warning = line;
    EXPECT_FALSE(warning.empty()) << run.out;
    // The figures of the parameters restored, for the caller to check.
    const size_t restored = run.out.find("PASS  parameters restored");
    if (restored == std::string::npos)
        return warning;
    return warning + "\n" + run.out.substr(restored, run.out.find('\n', restored) - restored);
}

TEST_F(Validate, AChoiceSetByItsTextIsRestoredAndOneSetBetweenTextsThatMovesIsAWarning)
{
    // Its Tone shows "Low", "Mid", "High" by rounding and saves the choice truncated: set at 0, 0.5
    // and 1 it comes back; set just past the start of "Mid" or "High" it comes back one lower.
    const std::string warning = BetweenTextsWarning(OMBREL_E2E_ROUNDING_CHOICE_EFFECT, "Rounding");
    EXPECT_TRUE(Contains(warning, "1 switches or choices set by their texts")) << warning;
    EXPECT_TRUE(Contains(warning, "1 come back as another value with another text")) << warning;
    EXPECT_TRUE(Contains(warning, "first parameter 1 \"Tone\" saved ")) << warning;
    const bool midToLow = Contains(warning, " \"Mid\", restored 0.0000 \"Low\", stereo layout");
    const bool highToMid = Contains(warning, " \"High\", restored 0.5000 \"Mid\", stereo layout");
    EXPECT_TRUE(midToLow || highToMid) << warning;
}

TEST_F(Validate, AParameterInManyStepsThatComesBackOneStepAwayIsAWarning)
{
    // Its Tone counts 0 to 39 beats, shown by rounding and saved truncated: a value a hundredth or
    // two wide is no grid the validator can set it on, so any value may come back one beat lower.
    // Set near the start of a count's stretch, it always does.
    const std::string warning = BetweenTextsWarning(OMBREL_E2E_ROUNDING_STEPS_EFFECT, "Steps");
    EXPECT_TRUE(Contains(warning, "0 switches or choices set by their texts, 1 in many steps")) << warning;
    EXPECT_TRUE(Contains(warning, "first parameter 1 \"Tone\" saved ")) << warning;
    // One beat lower, as the effect's own texts show it.
    const size_t saved = warning.find("beat\", restored ");
    ASSERT_NE(saved, std::string::npos) << warning;
    const size_t savedCount = warning.rfind('"', saved);
    const int savedBeats = std::atoi(warning.c_str() + savedCount + 1);
    const size_t restoredCount = warning.find('"', saved + 6);
    ASSERT_NE(restoredCount, std::string::npos) << warning;
    EXPECT_EQ(savedBeats - 1, std::atoi(warning.c_str() + restoredCount + 1)) << warning;
    EXPECT_TRUE(Contains(warning, "0 switches or choices and 1 parameters in many steps, twice each")) << warning;
}

TEST_F(Validate, TheParameterChecksOfHighStrictnessPassOnTheBundledDelay)
{
    // Twenty values a user would set per parameter, each text read twice, and the host's writes
    // from a second thread while audio runs and the delay's values change under a restore.
    const RunResult run = Host({"validate", DelayBundle(), "--strictness", "5", "--layout", "stereo"});
    ExpectFinishedReport(run);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(FailLines(run.out).empty()) << run.out;
    for (const char* pass : {"PASS  texts stable", "PASS  readings equal the values written", "PASS  numeric locale",
                             "PASS  parameters from three threads", "PASS  parameters restored"})
        EXPECT_TRUE(Contains(run.out, pass)) << pass << "\n" << run.out;
    EXPECT_TRUE(Contains(run.out, "22 values each")) << run.out;
}

TEST_F(Validate, InProcessReportsTheSameFailureWithoutChildren)
{
    // The folder's name carries a control byte, DEL, a quote and a backslash into the report's
    // module path: JSON escapes the first, keeps DEL as it is and backslash-escapes the others.
    const RunResult run =
        Host({"validate", BundleWith(OMBREL_E2E_NAN_EFFECT, "Nan \x01\x7f\"quoted\\"), "--strictness", "1",
              "--layout", "mono", "--in-process", "--json", "report.json"});
    ExpectFinishedReport(run);
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_TRUE(Contains(run.out, "every group in this process")) << run.out;
    EXPECT_TRUE(Contains(run.out, "output samples are not finite")) << run.out;
    const std::string json = ReadText(PathTo("report.json"));
    EXPECT_TRUE(Contains(json, "/Nan \\u0001\x7f\\\"quoted\\\\/")) << json;
    EXPECT_TRUE(Contains(json, "\"status\": \"FAIL\"")) << json;
    EXPECT_TRUE(Contains(json, " output samples are not finite\"")) << json;
}

TEST_F(Validate, RefusesAStrictnessOutOfRange)
{
    const RunResult run = Host({"validate", DelayBundle(), "--strictness", "11"});
    EXPECT_EXIT_CODE(run, 2);
    EXPECT_TRUE(Contains(run.err, "--strictness must be a whole number from 1 to 10")) << run.Describe();
}

} // namespace
} // namespace e2e
