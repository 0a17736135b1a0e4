// Wrong input of every kind the reference host accepts gets a clear message and a non-zero exit,
// never a crash.

#include "HostFixture.h"

#include <fstream>

namespace e2e
{
namespace
{

using BadInput = HostFixture;

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

// Ended by exiting with the code, the message on standard error, nothing half-written on stdout.
void ExpectRefused(const RunResult& run, int code, const std::string& message)
{
    EXPECT_TRUE(run.Exited()) << run.Describe();
    EXPECT_EQ(run.exitCode, code) << run.Describe();
    EXPECT_NE(run.err.find("ombrel-host: "), std::string::npos) << run.Describe();
    EXPECT_NE(run.err.find(message), std::string::npos) << "expected: " << message << "\n" << run.Describe();
}

TEST_F(BadInput, APathThatIsNotAModuleIsRefusedByEveryCommand)
{
    WriteText(PathTo("notes.txt"), "just some text\n");
    const std::string clicks = Clicks("clicks.wav", 2, 0.5, 1.0);
    ExpectRefused(Host({"scan", "notes.txt"}), 1, "is not a loadable module");
    ExpectRefused(Host({"params", "notes.txt"}), 1, "is not a loadable module");
    ExpectRefused(Host({"render", "notes.txt", "clicks.wav", "out.wav"}), 1, "is not a loadable module");
    ExpectRefused(Host({"state", "save", "notes.txt", "x.state"}), 1, "is not a loadable module");
    ExpectRefused(Host({"scan", "no-such-module"}), 1, "no-such-module: no such file or folder");
    ExpectRefused(Host({"scan", Folder()}), 1, "is a folder without a module");
}

TEST_F(BadInput, ALibraryWithoutTheEntryPointsIsNotTakenForAModule)
{
    if (!IemAvailable())
        GTEST_SKIP() << "IEM's DualDelay is not installed";
    // A real shared library, but a VST 2 effect: it has none of the seven entry points.
    ExpectRefused(Host({"scan", OMBREL_E2E_IEM_EFFECT}), 1,
                  "is not an AAX plug-in module: missing entry point");
}

TEST_F(BadInput, AnUnreadableWavIsRefusedAndNoOutputIsWritten)
{
    WriteText(PathTo("noise.wav"), "RIFF????WAVEthis is not audio");
    ExpectRefused(Host({"render", DelayBundle(), "noise.wav", "out.wav"}), 1, "cannot read noise.wav");
    ExpectRefused(Host({"render", DelayBundle(), "missing.wav", "out.wav"}), 1, "cannot read missing.wav");
    std::ifstream output(PathTo("out.wav"));
    EXPECT_FALSE(output.good());
    const std::string clicks = Clicks("clicks.wav", 2, 0.5, 1.0);
    ExpectRefused(Host({"render", DelayBundle(), "clicks.wav", "no/such/folder/out.wav"}), 1,
                  "does not exist");
    ExpectRefused(Host({"render", DelayBundle(), "clicks.wav", "out.wav", "--layout", "mono"}), 1,
                  "has 2 channels; the mono layout takes 1");
}

TEST_F(BadInput, AnUnknownParameterOrLayoutIsNamed)
{
    const std::string clicks = Clicks("clicks.wav", 2, 0.5, 1.0);
    ExpectRefused(Host({"params", DelayBundle(), "--set", "99=0.5"}), 1,
                  "unknown parameter ID `99` (this effect publishes: MasterBypassID, 0, 1, 2, 3, 4, 5)");
    ExpectRefused(Host({"render", DelayBundle(), "clicks.wav", "out.wav", "--set", "Time=0.5@1"}), 1,
                  "unknown parameter ID `Time`");
    ExpectRefused(Host({"state", "save", DelayBundle(), "x.state", "--set", "masterbypassid=1"}), 1,
                  "unknown parameter ID `masterbypassid`");
    ExpectRefused(Host({"params", DelayBundle(), "--layout", "surround"}), 2, "unknown layout `surround`");
    ExpectRefused(Host({"render", DelayBundle(), "clicks.wav", "out.wav", "--layout", "quadraphonic"}), 2,
                  "unknown layout `quadraphonic`");
    // A layout of the stem-format table that the input does not fit is the input's fault.
    ExpectRefused(Host({"render", DelayBundle(), "clicks.wav", "out.wav", "--layout", "quad"}), 1,
                  "clicks.wav has 2 channels; the quad layout takes 4");
    ExpectRefused(Host({"params", DelayBundle(), "--set", "0=1.5"}), 2, "VALUE must be a normalised number");
    ExpectRefused(Host({"render", DelayBundle(), "clicks.wav", "out.wav", "--bypass", "2-1"}), 2,
                  "is not a span FROM-TO");
    ExpectRefused(Host({"render", DelayBundle(), "clicks.wav", "out.wav", "--block", "0"}), 2,
                  "--block must be");
    ExpectRefused(Host({"params", DelayBundle(), "--frobnicate"}), 2, "`params` has no option --frobnicate");
}

TEST_F(BadInput, AStateFileThatIsNotOneOfItsOwnNeverReachesTheModule)
{
    WriteText(PathTo("text.state"), "not a state at all");
    ExpectRefused(Host({"state", "load", DelayBundle(), "text.state"}), 1,
                  "is not a state file of ombrel-host");
    ExpectRefused(Host({"state", "load", DelayBundle(), "missing.state"}), 1, "cannot read missing.state");

    ASSERT_EQ(Host({"state", "save", DelayBundle(), "good.state"}).exitCode, 0);
    std::vector<uint8_t> bytes = ReadBytes(PathTo("good.state"));
    ASSERT_GT(bytes.size(), 100u);

    std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 10);
    WriteBytes(PathTo("cut.state"), cut);
    ExpectRefused(Host({"state", "load", DelayBundle(), "cut.state"}), 1, "a damaged state file");

    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    WriteBytes(PathTo("longer.state"), longer);
    ExpectRefused(Host({"state", "load", DelayBundle(), "longer.state"}), 1, "stray bytes");

    std::vector<uint8_t> newer = bytes;
    newer[11] = 9; // format version 9
    WriteBytes(PathTo("newer.state"), newer);
    ExpectRefused(Host({"state", "load", DelayBundle(), "newer.state"}), 1, "format version 9");

    std::vector<uint8_t> foreign = bytes;
    foreign[16] = 'X'; // another product id
    WriteBytes(PathTo("foreign.state"), foreign);
    ExpectRefused(Host({"state", "load", DelayBundle(), "foreign.state"}), 1,
                  "holds the state of another plug-in");
}

TEST_F(BadInput, DamagedEffectStateInsideAValidFileIsReportedAsNotTaken)
{
    ASSERT_EQ(Host({"state", "save", DelayBundle(), "good.state", "--set", "0=0.3"}).exitCode, 0);
    std::vector<uint8_t> bytes = ReadBytes(PathTo("good.state"));
    ASSERT_GT(bytes.size(), 200u);
    // Scramble the last chunk's data (the effect's state block) but keep the file's own framing.
    for (size_t i = bytes.size() - 64; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 37);
    WriteBytes(PathTo("scrambled.state"), bytes);
    const RunResult run = Host({"state", "load", DelayBundle(), "scrambled.state"});
    ExpectRefused(run, 1, "part of the state in scrambled.state was not taken");
    // The intact control chunk still set the time; the effect kept its own state otherwise and so
    // saves something other than the scrambled bytes.
    EXPECT_NE(run.out.find("->  0.3000 \"600ms\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("resave 'elck' \"Complete Controls State\": identical"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("resave 'All ': differs"), std::string::npos) << run.out;
}

TEST_F(BadInput, TheEditorWithoutADisplaySaysSo)
{
    ExpectRefused(Host({"gui", DelayBundle(), "--seconds", "1"}, {{"DISPLAY", std::nullopt}}), 1,
                  "no X display: DISPLAY is not set");
}

TEST_F(BadInput, AMisspelledCommandShowsTheUsage)
{
    const RunResult run = Host({"rendr", DelayBundle()});
    ExpectRefused(run, 2, "unknown command `rendr`");
    EXPECT_NE(run.err.find("usage: ombrel-host"), std::string::npos);
    const RunResult help = Host({"--help"});
    EXPECT_EXIT_CODE(help, 0);
    EXPECT_NE(help.out.find("ombrel-host render MODULE IN.wav OUT.wav"), std::string::npos);
}

} // namespace
} // namespace e2e
