// Reading a bundle's identity file: what a valid file gives, what each kind of fault says, and the
// channels an effect must declare for the configurations the file asks for.

#include "aax_adapter/BundleIdentity.h"
#include "aax_adapter/PlugInIdentityReader.h"
#include "aax_adapter/StemFormats.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace
{

using namespace AAXClasses;

// A complete identity of an effect of its own, in stereo and 5.1.
const char* const kVerbIdentity = R"({
  "name": "Verb", "shortNames": ["Vrb", "V"], "manufacturer": "Acme Audio",
  "effectId": "com.acme.aax.verb", "manufacturerId": "Acme", "productId": "Verb",
  "category": 2, "version": 65794,
  "configurations": [
    { "input": "stereo", "output": "stereo", "nativeId": "AcVs", "audioSuiteId": "AcVS" },
    { "input": "5.1", "output": "5.1", "nativeId": "AcV5", "audioSuiteId": "AcV6" }
  ]
})";

TEST(PlugInIdentityReader, AnEmptyObjectAndARestatedDefaultIdentityGiveTheDefaults)
{
    const IdentityReading empty = readPlugInIdentity("{}");
    ASSERT_TRUE(empty.valid) << empty.fault.field << ": " << empty.fault.fault;
    EXPECT_EQ(empty.identity, PlugInIdentity::defaults());

    // The default identity shares one AudioSuite id between its mono-input configurations; said
    // again in full it is still the default identity, not a collision.
    const IdentityReading restated = readPlugInIdentity(R"({
      "name": "Ombrel", "shortNames": ["Ombrel"], "manufacturer": "Quorvane",
      "effectId": "\"com.quorvane.aax.ombrel\"", "manufacturerId": "KWZq", "productId": "OMBL",
      "category": 16, "version": 65793,
      "configurations": [
        { "input": "mono", "output": "mono", "nativeId": "OMBs", "audioSuiteId": "OMBb" },
        { "input": "mono", "output": "stereo", "nativeId": "OMBx", "audioSuiteId": "OMBb" },
        { "input": "stereo", "output": "stereo", "nativeId": "OMBm", "audioSuiteId": "OMBa" } ] })");
    ASSERT_TRUE(restated.valid) << restated.fault.field << ": " << restated.fault.fault;
    EXPECT_EQ(restated.identity, PlugInIdentity::defaults());
}

TEST(PlugInIdentityReader, AnIdentityOfItsOwnGivesEveryField)
{
    const IdentityReading reading = readPlugInIdentity(kVerbIdentity);
    ASSERT_TRUE(reading.valid) << reading.fault.field << ": " << reading.fault.fault;
    const PlugInIdentity& identity = reading.identity;
    EXPECT_EQ(identity.name, "Verb");
    EXPECT_EQ(identity.shortNames, (std::vector<std::string>{"Vrb", "V"}));
    EXPECT_EQ(identity.manufacturer, "Acme Audio");
    EXPECT_EQ(identity.effectId, "com.acme.aax.verb");
    EXPECT_EQ(identity.manufacturerId, AAX_FourCC('A', 'c', 'm', 'e'));
    EXPECT_EQ(identity.productId, AAX_FourCC('V', 'e', 'r', 'b'));
    EXPECT_EQ(identity.category, 2u);
    EXPECT_EQ(identity.version, 65794u);
    ASSERT_EQ(identity.configurations.size(), 2u);
    EXPECT_EQ(identity.configurations[1].inputFormat, AAX_eStemFormat_5_1);
    EXPECT_EQ(identity.configurations[1].outputFormat, AAX_eStemFormat_5_1);
    EXPECT_EQ(identity.configurations[1].nativePlugInID, AAX_FourCC('A', 'c', 'V', '5'));
    EXPECT_EQ(identity.configurations[1].audioSuitePlugInID, AAX_FourCC('A', 'c', 'V', '6'));
}

TEST(PlugInIdentityReader, LeftOutFieldsTakeTheDefaultsAndTheNameIsItsOwnShortForm)
{
    const IdentityReading reading = readPlugInIdentity(R"({ "name": "Verb", "manufacturerId": "Acme",
      "productId": "Verb", "configurations": [
        { "input": "mono", "output": "stereo", "nativeId": "AcVx", "audioSuiteId": "AcVX" } ] })");
    ASSERT_TRUE(reading.valid) << reading.fault.field << ": " << reading.fault.fault;
    const PlugInIdentity defaults = PlugInIdentity::defaults();
    EXPECT_EQ(reading.identity.shortNames, std::vector<std::string>{"Verb"});
    EXPECT_EQ(reading.identity.manufacturer, defaults.manufacturer);
    EXPECT_EQ(reading.identity.category, defaults.category);
    EXPECT_EQ(reading.identity.version, defaults.version);
    // Without an effect identifier of its own the effect gets one from its codes, quoted like the
    // default's.
    EXPECT_EQ(reading.identity.effectId, "\"com.acme.aax.verb\"");
}

struct FaultCase
{
    const char* name;
    const char* json;
    const char* field;
    const char* fault; // the start of the fault's text
};

std::ostream& operator<<(std::ostream& stream, const FaultCase& fault)
{
    return stream << fault.name;
}

class PlugInIdentityFault : public ::testing::TestWithParam<FaultCase>
{
};

TEST_P(PlugInIdentityFault, NamesTheFieldAndTheFaultAndGivesNoIdentity)
{
    const FaultCase& expected = GetParam();
    const IdentityReading reading = readPlugInIdentity(expected.json);
    EXPECT_FALSE(reading.valid);
    EXPECT_EQ(reading.fault.field, expected.field);
    EXPECT_EQ(reading.fault.fault.rfind(expected.fault, 0), 0u) << reading.fault.fault;
    EXPECT_EQ(reading.fault.fault.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, PlugInIdentityFault,
    ::testing::Values(
        FaultCase{"NotJson", "{ \"name\": \"Verb\"\n \"version\": 3 }", "", "is not JSON"},
        FaultCase{"EmptyFile", "", "", "is not"},
        FaultCase{"NotAnObject", "[1, 2]", "", "is not a JSON object"},
        FaultCase{"ThreeCharacterCode",
                  R"({"name": "Verb", "manufacturerId": "Acme", "productId": "Verb", "configurations": [
                     {"input": "stereo", "output": "stereo", "nativeId": "AcVs", "audioSuiteId": "AcVS"},
                     {"input": "5.1", "output": "5.1", "nativeId": "AcV", "audioSuiteId": "AcV6"}]})",
                  "configurations[1].nativeId", "\"AcV\" is not four printable ASCII characters"},
        FaultCase{"FiveCharacterCode", R"({"manufacturerId": "Acmes"})", "manufacturerId",
                  "\"Acmes\" is not four printable ASCII characters"},
        FaultCase{"CodeWithAControlCharacter", R"({"productId": "Ve\trb"})", "productId",
                  "\"Ve\\trb\" is not four printable ASCII characters"},
        FaultCase{"CodeWithALetterBeyondAscii", "{\"productId\": \"Ve\xc3\xa9\"}", "productId", "\""},
        FaultCase{"CodeThatIsANumber", R"({"productId": 1234})", "productId",
                  "1234 is not four printable ASCII characters"},
        FaultCase{"PlugInIdUsedTwice",
                  R"({"name": "Verb", "manufacturerId": "Acme", "productId": "Verb", "configurations": [
                     {"input": "mono", "output": "mono", "nativeId": "AcVm", "audioSuiteId": "AcVM"},
                     {"input": "stereo", "output": "stereo", "nativeId": "AcVs", "audioSuiteId": "AcVm"}]})",
                  "configurations[1].audioSuiteId",
                  "\"AcVm\" is used twice (also by configurations[0].nativeId)"},
        FaultCase{"UnknownStemFormat",
                  R"({"configurations": [{"input": "5.2", "output": "5.1", "nativeId": "AcV5",
                     "audioSuiteId": "AcV6"}]})",
                  "configurations[0].input", "\"5.2\" is not a stem format"},
        FaultCase{"EmptyName", R"({"name": ""})", "name", "the name is empty"},
        FaultCase{"NameOfThirtyTwoBytes", R"({"name": "abcdefghijklmnopqrstuvwxyz012345"})", "name",
                  "\"abcdefghijklmnopqrstuvwxyz012345\" is longer than 31 bytes"},
        FaultCase{"EmptyShortName", R"({"shortNames": ["Vb", ""]})", "shortNames[1]", "the name is empty"},
        FaultCase{"LongManufacturer", R"({"manufacturer": "A manufacturer of thirty-two by."})",
                  "manufacturer", "\"A manufacturer of thirty-two by.\" is longer than 31 bytes"},
        FaultCase{"RenamedUnderTheDefaultIdentifiers", R"({"name": "Verb"})", "manufacturerId",
                  "\"KWZq\" is an identifier of the default identity"},
        FaultCase{"RenamedUnderTheDefaultPlugInIds",
                  R"({"name": "Verb", "manufacturerId": "Acme", "productId": "Verb"})",
                  "configurations[0].nativeId", "\"OMBs\" is an identifier of the default identity"},
        FaultCase{"UnknownField", R"({"nmae": "Verb"})", "nmae", "is not a field of the identity file"},
        FaultCase{"EmptyConfigurations", R"({"configurations": []})", "configurations", "the list is empty"},
        FaultCase{"ConfigurationWithoutOutput",
                  R"({"configurations": [{"input": "mono", "nativeId": "AcVm", "audioSuiteId": "AcVM"}]})",
                  "configurations[0].output", "is missing"},
        FaultCase{"NegativeCategory", R"({"category": -1})", "category", "-1 is not a whole number"},
        FaultCase{"FractionalVersion", R"({"version": 1.5})", "version", "1.5 is not a whole number"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(PlugInIdentityReader, AFaultIsOneLineNamingTheFileTheFieldAndTheFault)
{
    EXPECT_EQ(
        identityFaultLine("/p/Verb.aaxplugin/Contents/Resources/Identity.json",
                          {"configurations[1].nativeId", "\"AcV\" is not four printable ASCII characters"}),
        "Ombrel: /p/Verb.aaxplugin/Contents/Resources/Identity.json: configurations[1].nativeId: \"AcV\" is "
        "not four printable ASCII characters");
    EXPECT_EQ(identityFaultLine("/i.json", {"", "is not JSON (x)"}), "Ombrel: /i.json: is not JSON (x)");
}

TEST(PlugInIdentityReader, OnlyConfigurationsWiderThanStereoNeedTheEffectsDeclaredChannels)
{
    EXPECT_FALSE(needsDeclaredChannels(PlugInIdentity::defaults()));
    const IdentityReading verb = readPlugInIdentity(kVerbIdentity);
    ASSERT_TRUE(verb.valid);
    EXPECT_TRUE(needsDeclaredChannels(verb.identity));

    IdentityFault fault;
    EXPECT_TRUE(checkDeclaredChannels(verb.identity, 6, 6, "Verb.dll", fault));
    EXPECT_TRUE(checkDeclaredChannels(verb.identity, 64, 64, "Verb.dll", fault));
    ASSERT_FALSE(checkDeclaredChannels(verb.identity, 2, 2, "Verb.dll", fault));
    EXPECT_EQ(fault.field, "configurations[1].input");
    EXPECT_EQ(fault.fault, "\"5.1\" needs 6 channels, but Verb.dll declares 2 inputs");
    ASSERT_FALSE(checkDeclaredChannels(verb.identity, 8, 5, "Verb.dll", fault));
    EXPECT_EQ(fault.field, "configurations[1].output");

    // Every effect is driven with two channels at least, whatever it declares: the default
    // configurations suit an effect declaring a single channel.
    EXPECT_TRUE(checkDeclaredChannels(PlugInIdentity::defaults(), 1, 1, "Ombrel.dll", fault));
}

TEST(BundleIdentityFile, LiesInTheResourcesFolderBesideTheModulesFolder)
{
    EXPECT_EQ(identityFileFor("/a/Plug-Ins/Verb.aaxplugin/Contents/x64/Verb.aaxplugin", '/'),
              "/a/Plug-Ins/Verb.aaxplugin/Contents/Resources/Identity.json");
    EXPECT_EQ(identityFileFor("C:\\P\\Verb.aaxplugin\\Contents\\x64\\Verb.aaxplugin", '\\'),
              "C:\\P\\Verb.aaxplugin\\Contents\\Resources\\Identity.json");
    EXPECT_EQ(identityFileFor("/x64/m", '/'), "/Resources/Identity.json");
    EXPECT_EQ(identityFileFor("m", '/'), "../Resources/Identity.json");
}

TEST(BundleIdentityFile, AMissingFileIsTheDefaultIdentityAndAnUnreadableOneAFault)
{
    const BundleIdentity missing =
        readBundleIdentityFile("/nonexistent-ombrel-folder/Resources/Identity.json");
    EXPECT_TRUE(missing.valid);
    EXPECT_EQ(missing.identity, PlugInIdentity::defaults());

    // A folder where the file should be is not the default identity.
    const BundleIdentity folder = readBundleIdentityFile("/");
    EXPECT_FALSE(folder.valid);
    EXPECT_EQ(folder.fault.fault, "cannot be read");
}

TEST(StemFormatNames, NameEveryListedFormatBothWays)
{
    for (const char* name : {"mono", "stereo", "lcr", "lcrs", "quad", "5.0", "5.1", "6.0", "6.1", "7.0-sdds",
                             "7.1-sdds", "7.0-dts", "7.1-dts"})
    {
        const AAX_EStemFormat format = stemFormatForName(name);
        ASSERT_NE(format, AAX_eStemFormat_None) << name;
        EXPECT_STREQ(stemFormatName(format), name);
    }
    EXPECT_EQ(stemFormatForName("Stereo"), AAX_eStemFormat_None);
    EXPECT_EQ(stemFormatName(AAX_eStemFormat_None), nullptr);
}

} // namespace
