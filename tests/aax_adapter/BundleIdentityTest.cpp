// A bundle that ships its own effect: the identity file read through the module's entry points as
// a host scans it, the configurations it declares processed through the effect with all their
// channels, the effect library named after the module, and every fault of the file reported as one
// line with no effect described.

#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "tests/support/StandardErrorCapture.h"
#include "tests/support/TemporaryFolder.h"
#include "host_kit/DataModelInstance.h"

#include "aax_library/AAX_StemFormats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{

using testhost::ComponentDescription;

constexpr int32_t kIdentityBlock = 64;

// Stereo and 5.1, under identifiers of its own.
const char* const kVerbIdentity = R"({
  "name": "Verb", "shortNames": ["Vrb"], "manufacturer": "Acme Audio",
  "manufacturerId": "Acme", "productId": "Verb", "category": 2, "version": 65794,
  "configurations": [
    { "input": "stereo", "output": "stereo", "nativeId": "AcVs", "audioSuiteId": "AcVS" },
    { "input": "5.1", "output": "5.1", "nativeId": "AcV5", "audioSuiteId": "AcV6" }
  ]
})";
constexpr size_t kVerbFiveOne = 1;

TestEffectConfig effectDeclaring(int32_t channels)
{
    TestEffectConfig config = testEffectDefaults();
    config.numInputs = channels;
    config.numOutputs = channels;
    return config;
}

// The identity file as the module names it in its fault lines.
std::string identityFileOf(const ModuleBundle& bundle)
{
    return std::filesystem::path(bundle.folder()).parent_path().string() + "/Resources/Identity.json";
}

TEST(BundleIdentity, AFiveOneIdentityIsDescribedWithItsOwnNamesIdentifiersAndStemFormats)
{
    PlugInSession session(testEffectPath(), effectDeclaring(6), kVerbIdentity);
    ASSERT_TRUE(session.scanned());
    const testhost::Description& description = session.scan().description;
    EXPECT_EQ(description.manufacturerName, "Acme Audio");
    EXPECT_EQ(description.packageNames, (std::vector<std::string>{"Verb", "Vrb"}));
    EXPECT_EQ(description.packageVersion, 65794u);
    EXPECT_EQ(session.effect().effectId, "\"com.acme.aax.verb\"");
    EXPECT_EQ(session.effect().names, (std::vector<std::string>{"Verb", "Vrb"}));
    EXPECT_EQ(session.effect().categories, std::vector<uint32_t>{2});

    ASSERT_EQ(session.effect().components.size(), 2u);
    const struct
    {
        int32_t format;
        AAX_CTypeID native;
        AAX_CTypeID audioSuite;
    } expected[] = {{AAX_eStemFormat_Stereo, AAX_FourCC('A', 'c', 'V', 's'), AAX_FourCC('A', 'c', 'V', 'S')},
                    {AAX_eStemFormat_5_1, AAX_FourCC('A', 'c', 'V', '5'), AAX_FourCC('A', 'c', 'V', '6')}};
    for (size_t c = 0; c < 2; ++c)
    {
        const ComponentDescription& component = session.component(c);
        EXPECT_EQ(component.Property(AAX_eProperty_ManufacturerID),
                  static_cast<int32_t>(AAX_FourCC('A', 'c', 'm', 'e')));
        EXPECT_EQ(component.Property(AAX_eProperty_ProductID),
                  static_cast<int32_t>(AAX_FourCC('V', 'e', 'r', 'b')));
        EXPECT_EQ(component.Property(AAX_eProperty_InputStemFormat), expected[c].format);
        EXPECT_EQ(component.Property(AAX_eProperty_OutputStemFormat), expected[c].format);
        EXPECT_EQ(component.Property(AAX_eProperty_PlugInID_Native),
                  static_cast<int32_t>(expected[c].native));
        EXPECT_EQ(component.Property(AAX_eProperty_PlugInID_AudioSuite),
                  static_cast<int32_t>(expected[c].audioSuite));
    }
    // Asking for the effect's channels created it once and closed it again.
    EXPECT_EQ(session.bundle().log().liveInstances, 0);
    EXPECT_EQ(countDispatcherCalls(session.bundle().log(), effClose), 1);
}

TEST(BundleIdentity, AFiveOneInstanceRunsAllSixChannelsThroughTheEffectInPlace)
{
    PlugInSession session(testEffectPath(), effectDeclaring(6), kVerbIdentity);
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, kVerbFiveOne, kIdentityBlock);
    ASSERT_TRUE(instance.ready());
    ASSERT_EQ(instance.context.InputCount(), 6);
    ASSERT_EQ(instance.context.OutputCount(), 6);
    for (int32_t c = 0; c < 6; ++c)
        std::fill(instance.context.Input(c), instance.context.Input(c) + kIdentityBlock, static_cast<float>(c + 1));
    instance.process();

    const TestEffectLog& log = session.bundle().log();
    ASSERT_EQ(log.process.calls, 1);
    for (int32_t c = 0; c < 6; ++c)
    {
        SCOPED_TRACE(c);
        // In place on the host's own output channels, each its own.
        EXPECT_EQ(log.process.inputs[c], reinterpret_cast<uintptr_t>(instance.context.Output(c)));
        EXPECT_EQ(log.process.outputs[c], reinterpret_cast<uintptr_t>(instance.context.Output(c)));
    }
    EXPECT_EQ(instance.context.Output(0)[kIdentityBlock - 1],
              1.0f + kTestEffectCrossGain * 2.0f + kTestEffectOutput0Offset);
    EXPECT_EQ(instance.context.Output(1)[kIdentityBlock - 1],
              2.0f + kTestEffectCrossGain * 1.0f + kTestEffectOutput1Offset);
    for (int32_t c = 2; c < 6; ++c)
        EXPECT_EQ(instance.context.Output(c)[kIdentityBlock - 1],
                  static_cast<float>(c + 1) + kTestEffectExtraOutputValue)
            << "channel " << c;
}

// Down to stereo from 5.1: the effect reads all six inputs, the four past the outputs from copies,
// so that the host's inputs stay as the host wrote them.
TEST(BundleIdentity, AFiveOneToStereoInstanceReadsEveryInputAndWritesNone)
{
    const char* const downmixIdentity = R"({
      "name": "Down", "shortNames": ["Dwn"], "manufacturer": "Acme Audio",
      "manufacturerId": "Acme", "productId": "Down", "category": 2, "version": 65794,
      "configurations": [
        { "input": "5.1", "output": "stereo", "nativeId": "AcD5", "audioSuiteId": "AcD6" }
      ]
    })";
    TestEffectConfig config = testEffectDefaults();
    config.numInputs = 6;
    config.numOutputs = 2;
    PlugInSession session(testEffectPath(), config, downmixIdentity);
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, 0, kIdentityBlock);
    ASSERT_TRUE(instance.ready());
    ASSERT_EQ(instance.context.InputCount(), 6);
    ASSERT_EQ(instance.context.OutputCount(), 2);
    for (int32_t c = 0; c < 6; ++c)
        std::fill(instance.context.Input(c), instance.context.Input(c) + kIdentityBlock, static_cast<float>(c + 1));
    instance.process();

    const TestEffectLog& log = session.bundle().log();
    ASSERT_EQ(log.process.calls, 1);
    EXPECT_EQ(log.process.extraInputPeak, 6.0f);
    EXPECT_EQ(instance.context.Output(0)[kIdentityBlock - 1], 1.0f + kTestEffectCrossGain * 2.0f + kTestEffectOutput0Offset);
    for (int32_t c = 0; c < 6; ++c)
        for (int32_t n = 0; n < kIdentityBlock; ++n)
            ASSERT_EQ(instance.context.Input(c)[n], static_cast<float>(c + 1)) << "channel " << c << ", sample " << n;
}

struct MalformedIdentity
{
    const char* name;
    const char* json;
    const char* fieldAndFault; // what the line says after the file's name
};

class MalformedBundleIdentity : public ::testing::TestWithParam<MalformedIdentity>
{
};

TEST_P(MalformedBundleIdentity, DescribesNoEffectAndWritesOneLineNamingFileFieldAndFault)
{
    const MalformedIdentity& malformed = GetParam();
    StandardErrorCapture standardError;
    std::unique_ptr<PlugInSession> session;
    ASSERT_NO_THROW(
        session = std::make_unique<PlugInSession>(testEffectPath(), effectDeclaring(2), malformed.json));
    const std::string written = standardError.finish();

    EXPECT_NE(session->scan().registerResult, ACF_OK);
    EXPECT_TRUE(session->scan().description.effects.empty());
    EXPECT_EQ(written,
              "Ombrel: " + identityFileOf(session->bundle()) + ": " + malformed.fieldAndFault + "\n");
    // Nothing of the effect ran for a file that is wrong in itself.
    EXPECT_EQ(session->bundle().log().count, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFault, MalformedBundleIdentity,
    ::testing::Values(
        MalformedIdentity{"CodeOfThreeCharacters", R"({"manufacturerId": "Acm"})",
                          "manufacturerId: \"Acm\" is not four printable ASCII characters"},
        MalformedIdentity{
            "PlugInIdUsedTwice",
            R"({"name": "Verb", "manufacturerId": "Acme", "productId": "Verb", "configurations": [
                             {"input": "mono", "output": "mono", "nativeId": "AcVm", "audioSuiteId": "AcVM"},
                             {"input": "stereo", "output": "stereo", "nativeId": "AcVm", "audioSuiteId": "AcVS"}]})",
            "configurations[1].nativeId: \"AcVm\" is used twice (also by configurations[0].nativeId)"},
        MalformedIdentity{
            "UnknownStemFormat",
            R"({"configurations": [{"input": "9.1", "output": "9.1", "nativeId": "AcV9",
                             "audioSuiteId": "AcVN"}]})",
            "configurations[0].input: \"9.1\" is not a stem format (mono, stereo, lcr, lcrs, quad, "
            "5.0, 5.1, 6.0, 6.1, 7.0-sdds, 7.1-sdds, 7.0-dts, 7.1-dts)"},
        MalformedIdentity{"EmptyName", R"({"name": ""})", "name: the name is empty"},
        MalformedIdentity{"NameOfThirtyTwoBytes", R"({"name": "Verb Verb Verb Verb Verb Verb Ve"})",
                          "name: \"Verb Verb Verb Verb Verb Verb Ve\" is longer than 31 bytes"},
        MalformedIdentity{
            "RenamedUnderTheDefaultIdentifiers", R"({"name": "Verb"})",
            "manufacturerId: \"KWZq\" is an identifier of the default identity; an effect of its "
            "own needs its own"}),
    [](const ::testing::TestParamInfo<MalformedIdentity>& info) { return std::string(info.param.name); });

TEST(BundleIdentity, NotJsonNamesTheParsersFault)
{
    StandardErrorCapture standardError;
    PlugInSession session(testEffectPath(), effectDeclaring(2), "{ \"name\": \"Verb\" ");
    const std::string written = standardError.finish();
    const std::string start = "Ombrel: " + identityFileOf(session.bundle()) + ": is not JSON (";
    EXPECT_EQ(written.rfind(start, 0), 0u) << written;
    EXPECT_EQ(written.find('\n'), written.size() - 1) << written;
}

TEST(BundleIdentity, AConfigurationWiderThanTheEffectDeclaresIsAFaultOfTheFile)
{
    StandardErrorCapture standardError;
    PlugInSession session(testEffectPath(), effectDeclaring(2), kVerbIdentity);
    const std::string written = standardError.finish();
    EXPECT_NE(session.scan().registerResult, ACF_OK);
    EXPECT_TRUE(session.scan().description.effects.empty());
    EXPECT_EQ(written,
              "Ombrel: " + identityFileOf(session.bundle()) +
                  ": configurations[1].input: \"5.1\" needs 6 channels, but Ombrel.dll declares 2 inputs\n");
    EXPECT_EQ(session.bundle().log().liveInstances, 0);
}

TEST(BundleIdentity, ABundleWithoutTheFileWritesNothingAndRestatingTheDefaultsChangesNothing)
{
    StandardErrorCapture standardError;
    PlugInSession plain(testEffectPath());
    PlugInSession restated(testEffectPath(), testEffectDefaults(), R"({"name": "Ombrel", "category": 16})");
    EXPECT_EQ(standardError.finish(), "");
    ASSERT_TRUE(plain.scanned());
    ASSERT_TRUE(restated.scanned());
    // The same calls in the same order, with the same names and properties.
    EXPECT_EQ(plain.host().Log().Operations(), restated.host().Log().Operations());
    EXPECT_EQ(plain.effect().names, restated.effect().names);
    EXPECT_EQ(plain.effect().components.size(), restated.effect().components.size());
    for (size_t c = 0; c < plain.effect().components.size(); ++c)
        EXPECT_EQ(plain.component(c).properties, restated.component(c).properties);
}

// A bundle laid out as Plug-Ins/NAME.aaxplugin/Contents/x64/NAME.aaxplugin with the given effect
// files beside the module.
class NamedBundle
{
public:
    NamedBundle(const std::string& name, const std::vector<std::string>& effectFiles)
        : binaryFolder(root.path() + "/Plug-Ins/" + name + ".aaxplugin/Contents/x64")
    {
        std::filesystem::create_directories(binaryFolder);
        std::filesystem::copy_file(builtModulePath(), moduleFile());
        for (const std::string& file : effectFiles)
            std::filesystem::copy_file(std::filesystem::canonical(testEffectPath()),
                                       binaryFolder + "/" + file);
    }
    std::string moduleFile() const
    {
        return binaryFolder + "/" +
               std::filesystem::path(binaryFolder).parent_path().parent_path().stem().string() + ".aaxplugin";
    }
    std::string file(const std::string& name) const { return binaryFolder + "/" + name; }

private:
    TemporaryFolder root{"ombrel-named"};
    std::string binaryFolder;
};

TEST(BundleIdentity, AModuleNamedVerbLoadsVerbDllBesideItAndNamesItWhenItIsMissing)
{
    // Ombrel.dll lies beside it too: the module must take the effect named after itself.
    NamedBundle bundle("Verb", {"Verb.dll", "Ombrel.dll"});
    TestEffectLibrary verb(bundle.file("Verb.dll"));
    TestEffectLibrary ombrel(bundle.file("Ombrel.dll"));
    testhost::TestHost host;
    testhost::ModuleLoader loader;
    ASSERT_TRUE(loader.Load(bundle.moduleFile())) << loader.Error();
    const testhost::ScanResult scan = testhost::Scan(loader, host);
    ASSERT_TRUE(scan.Succeeded());
    {
        testhost::DataModelInstance dataModel(
            host, scan.description.effects.at(0).CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
        EXPECT_EQ(dataModel.InitializeResult(), AAX_SUCCESS);
        EXPECT_EQ(verb.log().liveInstances, 1);
        EXPECT_EQ(ombrel.log().count, 0);
    }
    testhost::Shutdown(loader, host);
    loader.Unload();

    NamedBundle missing("Verb", {"Ombrel.dll"});
    testhost::TestHost otherHost;
    testhost::ModuleLoader otherLoader;
    ASSERT_TRUE(otherLoader.Load(missing.moduleFile())) << otherLoader.Error();
    const testhost::ScanResult otherScan = testhost::Scan(otherLoader, otherHost);
    ASSERT_TRUE(otherScan.Succeeded());
    StandardErrorCapture standardError;
    {
        testhost::DataModelInstance dataModel(otherHost, otherScan.description.effects.at(0).CreateProc(
                                                             kAAX_ProcPtrID_Create_EffectParameters));
        EXPECT_EQ(dataModel.InitializeResult(), AAX_SUCCESS);
    }
    const std::string written = standardError.finish();
    EXPECT_NE(written.find("Cant Load Verb.dll code="), std::string::npos) << written;
    testhost::Shutdown(otherLoader, otherHost);
    otherLoader.Unload();
}

} // namespace
