// The reference host's bundle and scan commands as a user runs them: real third-party effects
// wrapped into bundles of their own in one plug-in folder, listed, rendered, saved and restored;
// identifiers that clash and identities that are malformed refused with one line each.

#include "HostFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

namespace e2e
{
namespace
{

namespace fs = std::filesystem;

constexpr const char* kReverb = "/usr/lib/lxvst/DragonflyRoomReverb-vst.so";
constexpr const char* kDelay = OMBREL_E2E_IEM_EFFECT;
// IEM's reverb declares 64 inputs and outputs: wide enough for every format of the table.
constexpr const char* kWideReverb = "/usr/lib/lxvst/iem.at/libFdnReverb.so";

size_t Lines(const std::string& text)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class Bundle : public HostFixture
{
protected:
    std::string PlugIns() const { return PathTo("Plug-Ins"); }

    // `bundle` into the test's plug-in folder; the run, checked by the caller.
    RunResult MakeBundle(const std::string& effect, const std::vector<std::string>& options = {}) const
    {
        std::vector<std::string> arguments = {"bundle", effect, "--out", PlugIns()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return Host(arguments);
    }

    // The JSON list `scan --json` prints for the plug-in folder, with its run.
    juce::var ScanJson(RunResult& run) const
    {
        run = Host({"scan", PlugIns(), "--json"});
        juce::var root;
        EXPECT_TRUE(juce::JSON::parse(juce::String(run.out), root).wasOk()) << run.Describe();
        return root;
    }

    // A copy of a bundle under another name, files renamed as `bundle` names them.
    void CopyBundle(const std::string& from, const std::string& to) const
    {
        const fs::path source = fs::path(PlugIns()) / (from + ".aaxplugin");
        const fs::path target = fs::path(PlugIns()) / (to + ".aaxplugin");
        fs::copy(source, target, fs::copy_options::recursive);
        fs::rename(target / "Contents/x64" / (from + ".aaxplugin"),
                   target / "Contents/x64" / (to + ".aaxplugin"));
        fs::rename(target / "Contents/x64" / (from + ".dll"), target / "Contents/x64" / (to + ".dll"));
    }

    static void WriteText(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

    static bool Installed(const char* effect) { return fs::exists(effect); }
};

TEST_F(Bundle, TwoRealEffectsBecomeTwoPlugInsThatScanListsAndThatRenderSaveAndRestore)
{
    if (!Installed(kReverb) || !Installed(kDelay))
        GTEST_SKIP() << kReverb << " or " << kDelay << " is not installed";
    const RunResult reverb = MakeBundle(kReverb);
    EXPECT_EXIT_CODE(reverb, 0);
    const RunResult delay = MakeBundle(kDelay);
    EXPECT_EXIT_CODE(delay, 0);
    // Each run names what it read from the effect and the command to run next.
    EXPECT_NE(reverb.out.find("(the effect's name)"), std::string::npos) << reverb.out;
    EXPECT_NE(reverb.out.find("next: ombrel-host validate "), std::string::npos) << reverb.out;

    RunResult scan;
    const juce::var root = ScanJson(scan);
    EXPECT_EXIT_CODE(scan, 0);
    const juce::var bundles = root["bundles"];
    ASSERT_EQ(bundles.size(), 2) << scan.out;
    EXPECT_EQ(root["clashes"].size(), 0) << scan.out;
    EXPECT_NE(bundles[0]["name"].toString(), bundles[1]["name"].toString());
    EXPECT_NE(bundles[0]["productId"].toString(), bundles[1]["productId"].toString());
    std::set<juce::String> identifiers;
    size_t configurations = 0;
    for (int b = 0; b < 2; ++b)
        for (const juce::var& configuration : *bundles[b]["configurations"].getArray())
        {
            identifiers.insert(configuration["nativeId"].toString());
            identifiers.insert(configuration["audioSuiteId"].toString());
            configurations += 2;
        }
    EXPECT_EQ(identifiers.size(), configurations) << scan.out;
    for (const char* defaultId : {"OMBs", "OMBx", "OMBm", "OMBb", "OMBa"})
        EXPECT_EQ(identifiers.count(defaultId), 0u) << defaultId;

    const std::string clicks = Clicks("clicks.wav", 2, 1.0, 0.5);
    for (int b = 0; b < 2; ++b)
    {
        const std::string bundle = bundles[b]["bundle"].toString().toStdString();
        const std::string name = "out" + std::to_string(b);
        const RunResult render = Host({"render", bundle, clicks, name + ".wav"});
        EXPECT_EXIT_CODE(render, 0);
        EXPECT_NE(render.out.find(bundles[b]["name"].toString().toStdString()), std::string::npos)
            << render.out;
        EXPECT_GT(ReadAudio(PathTo(name + ".wav")).getMagnitude(0, 48000), 0.01f) << bundle;

        EXPECT_EXIT_CODE(Host({"state", "save", bundle, name + ".state", "--set", "1=0.3"}), 0);
        const RunResult load =
            Host({"state", "load", bundle, name + ".state", "--resave", name + "-again.state"});
        EXPECT_EXIT_CODE(load, 0);
        EXPECT_NE(load.out.find("identical to the file"), std::string::npos) << load.out;
    }
}

TEST_F(Bundle, AClashingIdentifierIsRefusedByBundleAndReportedByScan)
{
    if (!Installed(kReverb))
        GTEST_SKIP() << kReverb << " is not installed";
    const RunResult first =
        MakeBundle(kReverb, {"--name", "Room", "--manufacturer-id", "Dfly", "--product-id", "Room"});
    EXPECT_EXIT_CODE(first, 0);

    // The same codes under another name derive the same plug-in identifiers.
    const RunResult clash =
        MakeBundle(kReverb, {"--name", "Room Two", "--manufacturer-id", "Dfly", "--product-id", "Room"});
    EXPECT_EXIT_CODE(clash, 1);
    EXPECT_NE(clash.err.find("Room.aaxplugin"), std::string::npos) << clash.err;
    EXPECT_NE(clash.err.find("plug-in id '"), std::string::npos) << clash.err;
    EXPECT_FALSE(fs::exists(fs::path(PlugIns()) / "Room Two.aaxplugin"));

    // Made the same again under its own name, the bundle replaces itself without a clash.
    const RunResult again =
        MakeBundle(kReverb, {"--name", "Room", "--manufacturer-id", "Dfly", "--product-id", "Room"});
    EXPECT_EXIT_CODE(again, 0);
    EXPECT_NE(again.out.find("(replaced)"), std::string::npos) << again.out;
    EXPECT_EQ(again.out.substr(again.out.find("layouts")), first.out.substr(first.out.find("layouts")));

    // A copy placed by hand is what scan finds and reports.
    CopyBundle("Room", "Room Copy");
    RunResult scan;
    const juce::var root = ScanJson(scan);
    EXPECT_EXIT_CODE(scan, 1);
    EXPECT_EQ(root["bundles"].size(), 2);
    EXPECT_GE(root["clashes"].size(), 3) << scan.out; // the product and each plug-in identifier
    EXPECT_NE(scan.err.find("is used by both Room.aaxplugin and Room Copy.aaxplugin"), std::string::npos)
        << scan.err;
    const RunResult text = Host({"scan", PlugIns()});
    EXPECT_EXIT_CODE(text, 1);
    EXPECT_NE(text.out.find("2 effects in "), std::string::npos) << text.out;
}

TEST_F(Bundle, AFiveOneConfigurationRendersSixChannelsEachThroughTheEffect)
{
    if (!Installed(kWideReverb))
        GTEST_SKIP() << kWideReverb << " is not installed";
    const RunResult made = MakeBundle(kWideReverb, {"--name", "Wide", "--layouts", "stereo,5.1"});
    EXPECT_EXIT_CODE(made, 0);
    EXPECT_NE(made.out.find("5.1"), std::string::npos) << made.out;

    // A click on each channel at its own time, so that each output channel can be told apart.
    constexpr int kChannels = 6;
    constexpr int kLength = 48000;
    juce::AudioBuffer<float> clicks(kChannels, kLength);
    clicks.clear();
    for (int c = 0; c < kChannels; ++c)
        clicks.setSample(c, 4800 + 2400 * c, 0.8f);
    {
        juce::WavAudioFormat wav;
        auto stream = std::make_unique<juce::FileOutputStream>(juce::File(PathTo("six.wav")));
        std::unique_ptr<juce::AudioFormatWriter> writer(
            wav.createWriterFor(stream.get(), kRate, kChannels, 32, {}, 0));
        ASSERT_NE(writer, nullptr);
        stream.release();
        ASSERT_TRUE(writer->writeFromAudioSampleBuffer(clicks, 0, kLength));
    }

    const std::string bundle = PathTo("Plug-Ins/Wide.aaxplugin");
    const RunResult render = Host({"render", bundle, "six.wav", "wide.wav", "--layout", "5.1"});
    EXPECT_EXIT_CODE(render, 0);
    const juce::AudioBuffer<float> output = ReadAudio(PathTo("wide.wav"));
    ASSERT_EQ(output.getNumChannels(), kChannels);
    for (int c = 0; c < kChannels; ++c)
    {
        // The reverb's tail: energy well after the channel's click that the dry click alone lacks.
        const int tailStart = 4800 + 2400 * c + 480;
        EXPECT_GT(output.getMagnitude(c, tailStart, kLength - tailStart), 1.0e-4f) << "channel " << c;
    }
}

TEST_F(Bundle, EveryMalformedIdentityGivesItsOneLineThroughBundle)
{
    if (!Installed(kDelay))
        GTEST_SKIP() << kDelay << " is not installed";
    struct Case
    {
        std::vector<std::string> options;
        std::string field;
        std::string fault;
    };
    const Case cases[] = {
        {{"--product-id", "AcV"}, "productId", "is not four printable ASCII characters"},
        {{"--manufacturer-id", "Ac\tm"}, "manufacturerId", "is not four printable ASCII characters"},
        {{"--name", std::string(32, 'n')}, "name", ""},
        {{"--manufacturer", ""}, "manufacturer", ""},
        {{"--layouts", "stereo,surround"}, "configurations[1]", "surround"},
        {{"--manufacturer-id", "KWZq"}, "manufacturerId", "KWZq"},
    };
    for (const Case& testCase : cases)
    {
        const RunResult run = MakeBundle(kDelay, testCase.options);
        EXPECT_EXIT_CODE(run, 1);
        EXPECT_EQ(Lines(run.err), 1u) << run.err;
        EXPECT_EQ(run.err.rfind("Ombrel: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find("Identity.json: " + testCase.field), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(testCase.fault), std::string::npos) << run.err;
    }
    // The reverb declares two channels on each side: 5.1 needs more than it has.
    if (Installed(kReverb))
    {
        const RunResult run = MakeBundle(kReverb, {"--layouts", "stereo,5.1"});
        EXPECT_EXIT_CODE(run, 1);
        EXPECT_EQ(Lines(run.err), 1u) << run.err;
        EXPECT_NE(run.err.find("Identity.json: configurations[1]"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(PlugIns()) && !fs::is_empty(PlugIns()));
}

TEST_F(Bundle, EveryMalformedIdentityGivesItsOneLineThroughScanAndTheOtherBundlesAreStillListed)
{
    if (!Installed(kDelay))
        GTEST_SKIP() << kDelay << " is not installed";
    EXPECT_EXIT_CODE(MakeBundle(kDelay, {"--name", "Good"}), 0);
    EXPECT_EXIT_CODE(MakeBundle(kDelay, {"--name", "Bad", "--manufacturer-id", "Badd"}), 0);
    const std::string identity = PathTo("Plug-Ins/Bad.aaxplugin/Contents/Resources/Identity.json");
    const std::string ids = R"("manufacturerId": "Badd", "productId": "Bdpr")";
    struct Case
    {
        std::string json;
        std::string field;
    };
    const Case cases[] = {
        {"{ not json", ""},
        {R"({"name": "Bad", )" + ids +
             R"(, "configurations": [{"input": "stereo", "output": "stereo", "nativeId": "Bd1", "audioSuiteId": "Bd2a"}]})",
         "configurations[0].nativeId"},
        {R"({"name": "Bad", )" + ids +
             R"(, "configurations": [{"input": "stereo", "output": "stereo", "nativeId": "Bd1a", "audioSuiteId": "Bd1a"}]})",
         "configurations[0]"},
        {R"({"name": "Bad", )" + ids +
             R"(, "configurations": [{"input": "stereo", "output": "9.1", "nativeId": "Bd1a", "audioSuiteId": "Bd2a"}]})",
         "configurations[0].output"},
        {R"({"name": "", )" + ids + "}", "name"},
        {R"({"name": "A name much longer than thirty-one bytes", )" + ids + "}", "name"},
        {R"({"name": "Bad", "manufacturerId": "KWZq", "productId": "Bdpr"})", "manufacturerId"},
    };
    for (const Case& testCase : cases)
    {
        WriteText(identity, testCase.json);
        const RunResult run = Host({"scan", PlugIns()});
        EXPECT_EXIT_CODE(run, 1);
        EXPECT_EQ(Lines(run.err), 1u) << testCase.json << "\n" << run.err;
        EXPECT_EQ(run.err.rfind("Ombrel: " + identity + ": " + testCase.field, 0), 0u)
            << testCase.json << "\n"
            << run.err;
        EXPECT_NE(run.out.find("Good.aaxplugin"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("1 effect in "), std::string::npos) << run.out;
        // bundle reads the same file when it compares identifiers, and says what is wrong with it.
    }
}

TEST_F(Bundle, RefusesWhatItCannotReadWithAReasonAndMakesNothing)
{
    const std::string notALibrary = PathTo("notes.txt");
    WriteText(notALibrary, "not a library");
    struct Case
    {
        std::vector<std::string> arguments;
        std::string reason;
    };
    const Case cases[] = {
        {{"bundle", PathTo("missing.so"), "--out", PlugIns()}, "no such effect file"},
        {{"bundle", notALibrary, "--out", PlugIns()}, "is not a library of this system"},
        {{"bundle", OMBREL_E2E_RESIZING_EFFECT, "--out", PlugIns(), "--module", PathTo("nowhere")},
         "nowhere"},
        {{"bundle", OMBREL_E2E_CRASHING_NAME_EFFECT, "--out", PlugIns()}, "crashed"},
    };
    for (const Case& testCase : cases)
    {
        const RunResult run = Host(testCase.arguments);
        EXPECT_EXIT_CODE(run, 1);
        EXPECT_NE(run.err.find(testCase.reason), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(PlugIns()) && !fs::is_empty(PlugIns()));
    // An option that cannot be read is a wrong command line, found before the effect is loaded.
    const RunResult category =
        Host({"bundle", OMBREL_E2E_CRASHING_NAME_EFFECT, "--out", PlugIns(), "--category", "Loud"});
    EXPECT_EXIT_CODE(category, 2);
    EXPECT_NE(category.err.find("--category"), std::string::npos) << category.err;
}

} // namespace
} // namespace e2e
