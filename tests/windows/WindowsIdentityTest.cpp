// The Windows module ships an effect of its own the same way as on Linux: a bundle
// C:\...\Plug-Ins\Verb.aaxplugin laid out in the Wine prefix with the built module as
// Verb.aaxplugin, the example delay as Verb.dll beside it and an identity file in
// Contents\Resources, scanned and opened through the module's entry points.

#include "aax_library/AAX_StemFormats.h"
#include "host_kit/DataModelInstance.h"
#include "tests/windows/InstalledModule.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

const char* const kVerbIdentity = R"({
  "name": "Verb", "shortNames": ["Vrb"], "manufacturer": "Acme Audio",
  "manufacturerId": "Acme", "productId": "Verb",
  "configurations": [
    { "input": "mono", "output": "stereo", "nativeId": "AcVx", "audioSuiteId": "AcVX" },
    { "input": "stereo", "output": "stereo", "nativeId": "AcVs", "audioSuiteId": "AcVS" }
  ]
})";

// The example delay's parameters and the master bypass.
constexpr int32_t kDelayParametersAndBypass = 7;

class WindowsIdentity : public ::testing::Test
{
protected:
    std::string root;

    void SetUp() override
    {
        root = "C:\\ombrel-identity-" + std::to_string(GetCurrentProcessId()) + "\\Plug-Ins\\Verb.aaxplugin";
        std::filesystem::create_directories(root + "\\Contents\\x64");
        std::filesystem::create_directories(root + "\\Contents\\Resources");
        std::filesystem::copy_file(kInstalledModule, moduleFile());
        std::filesystem::copy_file(OMBREL_WINDOWS_EXAMPLE_DELAY, root + "\\Contents\\x64\\Verb.dll");
    }

    void TearDown() override
    {
        if (loader.IsLoaded())
        {
            testhost::Shutdown(loader, host);
            loader.Unload();
        }
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(root).parent_path().parent_path(), ignored);
    }

    std::string moduleFile() const { return root + "\\Contents\\x64\\Verb.aaxplugin"; }

    testhost::ScanResult scanWithIdentity(const std::string& json)
    {
        std::ofstream(root + "\\Contents\\Resources\\Identity.json", std::ios::binary) << json;
        EXPECT_TRUE(loader.Load(moduleFile())) << loader.Error();
        return testhost::Scan(loader, host);
    }

    testhost::TestHost host;
    testhost::ModuleLoader loader;
};

TEST_F(WindowsIdentity, AnIdentityOfItsOwnIsDescribedAndItsInstanceRunsVerbDll)
{
    const testhost::ScanResult scan = scanWithIdentity(kVerbIdentity);
    ASSERT_TRUE(scan.Succeeded());
    ASSERT_EQ(scan.description.effects.size(), 1u);
    const testhost::EffectDescription& effect = scan.description.effects[0];
    EXPECT_EQ(effect.effectId, "\"com.acme.aax.verb\"");
    EXPECT_EQ(effect.names, (std::vector<std::string>{"Verb", "Vrb"}));
    EXPECT_EQ(scan.description.manufacturerName, "Acme Audio");
    ASSERT_EQ(effect.components.size(), 2u);
    EXPECT_EQ(effect.components[0].Property(AAX_eProperty_InputStemFormat), AAX_eStemFormat_Mono);
    EXPECT_EQ(effect.components[0].Property(AAX_eProperty_OutputStemFormat), AAX_eStemFormat_Stereo);
    EXPECT_EQ(effect.components[1].Property(AAX_eProperty_PlugInID_Native),
              static_cast<int32_t>(AAX_FourCC('A', 'c', 'V', 's')));
    EXPECT_EQ(effect.components[1].Property(AAX_eProperty_ManufacturerID),
              static_cast<int32_t>(AAX_FourCC('A', 'c', 'm', 'e')));

    // The instance found the effect named after the module: the delay's parameters are published.
    testhost::DataModelInstance instance(host, effect.CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
    ASSERT_TRUE(instance.IsValid());
    ASSERT_EQ(AAX_SUCCESS, instance.InitializeResult());
    int32_t count = 0;
    EXPECT_EQ(AAX_SUCCESS, instance->GetNumberOfParameters(&count));
    EXPECT_EQ(kDelayParametersAndBypass, count);
}

TEST_F(WindowsIdentity, AMalformedIdentityDescribesNoEffect)
{
    const testhost::ScanResult scan = scanWithIdentity(R"({"name": "Verb", "manufacturerId": "Acm"})");
    EXPECT_EQ(scan.startupResult, ACF_OK);
    EXPECT_NE(scan.registerResult, ACF_OK);
    EXPECT_TRUE(scan.description.effects.empty());
}

TEST_F(WindowsIdentity, AFiveOneConfigurationForTheStereoDelayIsAFaultOfTheFile)
{
    const testhost::ScanResult scan = scanWithIdentity(R"({"name": "Verb", "manufacturerId": "Acme",
      "productId": "Verb", "configurations": [
        { "input": "5.1", "output": "5.1", "nativeId": "AcV5", "audioSuiteId": "AcV6" } ] })");
    EXPECT_NE(scan.registerResult, ACF_OK);
    EXPECT_TRUE(scan.description.effects.empty());
}

} // namespace
