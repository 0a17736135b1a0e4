// The reference host's scan and params commands on the bundled delay and on a real third-party
// effect, run as a user runs them.

#include "HostFixture.h"

#include <filesystem>

namespace e2e
{
namespace
{

using Scan = HostFixture;
using Params = HostFixture;

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(Scan, DescribesTheDelayBundleWithItsIdentityAndThreeLayouts)
{
    const RunResult run = Host({"scan", DelayBundle()});
    EXPECT_EXIT_CODE(run, 0);
    const std::string& out = run.out;
    EXPECT_NE(out.find("com.quorvane.aax.ombrel"), std::string::npos) << out;
    EXPECT_NE(out.find("manufacturer     \"Quorvane\""), std::string::npos) << out;
    EXPECT_NE(out.find("package version  1.1.1 (0x00010101)"), std::string::npos) << out;
    EXPECT_NE(out.find("category       16 (Delay)"), std::string::npos) << out;
    EXPECT_NE(out.find("Mono -> Mono (--layout mono)"), std::string::npos) << out;
    EXPECT_NE(out.find("Mono -> Stereo (--layout mono-stereo)"), std::string::npos) << out;
    EXPECT_NE(out.find("Stereo -> Stereo (--layout stereo)"), std::string::npos) << out;
    EXPECT_EQ(Occurrences(out, "  component "), 3u) << out;
    // Seven context fields (the block's rate the seventh) and eight properties per component.
    EXPECT_EQ(Occurrences(out, "    field "), 21u) << out;
    EXPECT_EQ(Occurrences(out, "    property   "), 24u) << out;
    EXPECT_EQ(Occurrences(out, "'KWZq'"), 3u) << out;
    EXPECT_EQ(Occurrences(out, "'OMBL'"), 3u) << out;
    for (const char* id : {"'OMBs'", "'OMBx'", "'OMBm'", "'OMBa'"})
        EXPECT_NE(out.find(id), std::string::npos) << id << "\n" << out;
    EXPECT_EQ(Occurrences(out, "'OMBb'"), 2u) << out;
    EXPECT_NE(out.find("MIDI node \"Ombrel\", local input, channels 0xFFFF"), std::string::npos) << out;
    EXPECT_NE(out.find("private data, 8 bytes"), std::string::npos) << out;
    EXPECT_EQ(Occurrences(out, "field 6      SampleRate"), 3u) << out;
    EXPECT_EQ(Occurrences(out, "process    native"), 3u) << out;
}

TEST_F(Scan, JsonOutputCarriesTheSameDescription)
{
    const RunResult run = Host({"scan", DelayBundle(), "--json"});
    EXPECT_EXIT_CODE(run, 0);
    juce::var root;
    ASSERT_TRUE(juce::JSON::parse(juce::String(run.out), root).wasOk()) << run.out;
    EXPECT_EQ(root["manufacturer"].toString(), "Quorvane");
    EXPECT_EQ(static_cast<juce::int64>(root["packageVersion"]), 0x00010101);
    const juce::var effect = root["effects"][0];
    EXPECT_EQ(effect["effectId"].toString(), "\"com.quorvane.aax.ombrel\"");
    EXPECT_EQ(effect["names"][0].toString(), "Ombrel");
    const juce::var components = effect["components"];
    ASSERT_EQ(components.size(), 3);
    const char* layouts[] = {"mono", "mono-stereo", "stereo"};
    for (int c = 0; c < 3; ++c)
    {
        EXPECT_EQ(components[c]["layout"].toString(), layouts[c]);
        EXPECT_EQ(components[c]["fields"].size(), 7);
        EXPECT_EQ(components[c]["properties"].size(), 8);
        EXPECT_TRUE(static_cast<bool>(components[c]["nativeProcess"]));
    }
}

TEST_F(Scan, AcceptsTheModuleFileTheBundleFolderAndTheFolderAroundIt)
{
    const std::string bundle = DelayBundle();
    const std::string module = bundle + "/Contents/x64/Ombrel.aaxplugin";
    const std::string plugIns = bundle.substr(0, bundle.rfind('/'));
    for (const std::string& argument : {module, bundle, bundle + "/", plugIns})
    {
        const RunResult run = Host({"scan", argument});
        EXPECT_EXIT_CODE(run, 0);
        EXPECT_NE(run.out.find("module           " + module), std::string::npos) << argument << "\n"
                                                                                 << run.out;
    }
}

TEST_F(Params, ListsEveryDelayParameterWithItsNamesStepsAndTexts)
{
    const RunResult run = Host({"params", DelayBundle(), "--json"});
    EXPECT_EXIT_CODE(run, 0);
    juce::var parameters;
    ASSERT_TRUE(juce::JSON::parse(juce::String(run.out), parameters).wasOk()) << run.out;
    ASSERT_EQ(parameters.size(), 7) << run.out;

    const juce::var bypass = parameters[0];
    EXPECT_EQ(bypass["id"].toString(), "MasterBypassID");
    EXPECT_EQ(bypass["name"].toString(), "Master Bypass");
    EXPECT_EQ(bypass["shortNames"]["8"].toString(), "Mast Byp");
    EXPECT_EQ(bypass["shortNames"]["6"].toString(), "MstByp");
    EXPECT_EQ(bypass["shortNames"]["4"].toString(), "MByp");
    EXPECT_EQ(static_cast<int>(bypass["steps"]), 2);
    EXPECT_EQ(bypass["type"].toString(), "discrete");
    EXPECT_TRUE(static_cast<bool>(bypass["automatable"]));
    EXPECT_EQ(bypass["text"].toString(), "bypass");

    const char* names[] = {"0: Time", "1: Feedback", "2: Mix", "3: Sync", "4: Note", "5: High Cut"};
    for (int i = 0; i < 6; ++i)
    {
        const juce::var p = parameters[i + 1];
        EXPECT_EQ(p["id"].toString(), juce::String(i));
        EXPECT_EQ(p["name"].toString(), names[i]);
        EXPECT_EQ(p["shortNames"]["4"].toString(), juce::String(names[i]).substring(0, 4));
        EXPECT_TRUE(static_cast<bool>(p["automatable"]));
    }
    // Sync has two texts (Off, On) and so is published as a two-state parameter; the rest are
    // continuous with 100 steps.
    EXPECT_EQ(static_cast<int>(parameters[4]["steps"]), 2);
    EXPECT_EQ(parameters[4]["type"].toString(), "discrete");
    EXPECT_EQ(parameters[4]["text"].toString(), "Off");
    EXPECT_EQ(static_cast<int>(parameters[1]["steps"]), 100);
    EXPECT_EQ(parameters[1]["type"].toString(), "continuous");
    // The Default program: 250 ms, 50 %, 50 %, open high cut; texts carry the effect's labels.
    EXPECT_NEAR(static_cast<double>(parameters[1]["value"]), 0.125, 1e-6);
    EXPECT_TRUE(parameters[1]["text"].toString().endsWith("ms")) << parameters[1]["text"].toString();
    EXPECT_NEAR(static_cast<double>(parameters[2]["value"]), 0.5, 1e-6);
    EXPECT_EQ(parameters[2]["text"].toString(), "50%");
    EXPECT_EQ(parameters[6]["text"].toString(), "Open");
}

TEST_F(Params, SetChangesTheValueAndItsTextAndTheTableShowsThem)
{
    const RunResult run =
        Host({"params", DelayBundle(), "--layout", "mono", "--set", "0=0.19", "--set", "3=1"});
    EXPECT_EXIT_CODE(run, 0);
    EXPECT_NE(run.out.find("\"Ombrel\", mono layout, 7 parameters published"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("0.1900 \"380"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1.0000 \"On\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("MasterBypassID"), std::string::npos) << run.out;
}

TEST_F(Params, WorkOnARealThirdPartyEffect)
{
    if (!IemAvailable())
        GTEST_SKIP() << "IEM's DualDelay is not installed";
    const RunResult run = Host({"params", IemBundle(), "--json"});
    EXPECT_EXIT_CODE(run, 0);
    juce::var parameters;
    ASSERT_TRUE(juce::JSON::parse(juce::String(run.out), parameters).wasOk()) << run.out;
    ASSERT_GT(parameters.size(), 10) << run.out;
    EXPECT_EQ(parameters[0]["id"].toString(), "MasterBypassID");
    for (int i = 1; i < parameters.size(); ++i)
    {
        EXPECT_EQ(parameters[i]["id"].toString(), juce::String(i - 1));
        EXPECT_TRUE(parameters[i]["name"].toString().startsWith(juce::String(i - 1) + ": "))
            << parameters[i]["name"].toString();
        EXPECT_FALSE(parameters[i]["text"].toString().isEmpty()) << parameters[i]["name"].toString();
    }
}

// DPF-built effects ask for a display update only while processing, so a host's write right after
// the instance is made is the case where such effects used to keep their own value.
TEST_F(Params, SetReachesADpfEffectThatHasNotProcessedYet)
{
    constexpr const char* kFreeverb = "/usr/lib/vst/MaFreeverb-vst.so";
    if (!std::filesystem::exists(kFreeverb))
        GTEST_SKIP() << kFreeverb << " is not installed";
    const RunResult run = Host({"params", BundleWith(kFreeverb, "Dpf"), "--set", "2=0.1", "--json"});
    EXPECT_EXIT_CODE(run, 0);
    juce::var parameters;
    ASSERT_TRUE(juce::JSON::parse(juce::String(run.out), parameters).wasOk()) << run.out;
    ASSERT_GT(parameters.size(), 3) << run.out;
    EXPECT_EQ(parameters[3]["id"].toString(), "2");
    // The value a host reads back is the effect's own.
    EXPECT_NEAR(static_cast<double>(parameters[3]["value"]), 0.1, 0.01) << run.out;
}

} // namespace
} // namespace e2e
