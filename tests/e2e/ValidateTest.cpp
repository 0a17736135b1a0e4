// `ombrel-host validate` run as an effect developer runs it: it passes on effects that behave, and
// on effects built to misbehave it names each fault, exits non-zero and finishes its report.

#include "HostFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e
{
namespace
{

using Validate = HostFixture;

std::string ReadText(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A finished report: every group reached, the summary line at the end.
void ExpectFinishedReport(const RunResult& run)
{
    EXPECT_TRUE(run.Exited()) << run.Describe();
    for (const char* group : {"description and instantiation", "processing", "parameters", "state", "editor",
                              "allocation on the audio path", "lifetime"})
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
