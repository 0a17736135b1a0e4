#include "aax_library/AAX_CBinaryDisplayDelegate.h"
#include "aax_library/AAX_CBinaryTaperDelegate.h"
#include "aax_library/AAX_CParameter.h"
#include "aax_library/AAX_VAutomationDelegate.h"

#include "TestDelegates.h"
#include "host_kit/HostController.h"
#include "host_kit/TestHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using testhost::Call;

std::unique_ptr<AAX_CParameter<float>> NewLevel(const char* id = "level", float defaultValue = 0.0f)
{
    return std::make_unique<AAX_CParameter<float>>(id, AAX_CString("Output Level"), defaultValue,
                                                   LinearTestTaper(), DecimalTestDelegate(), true);
}

std::unique_ptr<AAX_CParameter<bool>> NewSwitch(const char* id = "switch", bool defaultValue = false)
{
    return std::make_unique<AAX_CParameter<bool>>(id, AAX_CString("Switch"), defaultValue,
                                                  AAX_CBinaryTaperDelegate<bool>(),
                                                  AAX_CBinaryDisplayDelegate<bool>("off", "on"), true);
}

// A parameter attached to the automation delegate of a test host's plug-in instance.
class AutomatedParameter : public ::testing::Test
{
protected:
    AutomatedParameter() : mDelegate(mHost.NewController()) {}

    std::vector<std::string> AutomationCalls() { return mHost.Log().Operations("AutomationDelegate"); }
    std::vector<Call> Find(const char* operation)
    {
        return mHost.Log().Find("AutomationDelegate", operation);
    }

    testhost::TestHost mHost;
    AAX_VAutomationDelegate mDelegate;
};
} // namespace

TEST(Parameter, NewSwitchReadsItsDefaultAndHas128StepsUntilSet)
{
    auto parameter = NewSwitch();
    bool value = true;
    EXPECT_TRUE(parameter->GetValueAsBool(&value));
    EXPECT_FALSE(value);
    EXPECT_EQ(128u, parameter->GetNumberOfSteps());
    EXPECT_EQ(0.0, parameter->GetNormalizedValue());
    EXPECT_EQ(AAX_eParameterType_Continuous, parameter->GetType());
    parameter->SetNumberOfSteps(2);
    EXPECT_EQ(2u, parameter->GetNumberOfSteps());

    float asFloat = 7.0f;
    EXPECT_FALSE(parameter->GetValueAsFloat(&asFloat));
    EXPECT_EQ(7.0f, asFloat);
    EXPECT_FALSE(parameter->SetValueWithFloat(1.0f));
    EXPECT_TRUE(parameter->SetValueWithBool(true));
    EXPECT_TRUE(parameter->GetValueAsBool(&value));
    EXPECT_TRUE(value);
}

TEST(Parameter, StepValuesDivideByTheReciprocalOfTheStepCount)
{
    auto level = NewLevel();
    level->SetNumberOfSteps(2);
    level->SetNormalizedValue(0.49);
    EXPECT_EQ(0u, level->GetStepValue());
    level->SetNormalizedValue(0.5);
    EXPECT_EQ(1u, level->GetStepValue());
    level->SetStepValue(0);
    EXPECT_EQ(0.0, level->GetNormalizedValue());
    level->SetStepValue(1);
    EXPECT_EQ(1.0, level->GetNormalizedValue());
    level->SetStepValue(0);
    level->SetStepValue(5);
    EXPECT_EQ(1.0, level->GetNormalizedValue());

    // 0.5 / (1 / 99) is 49.49999999999999 in double precision: step 49, not 50.
    level->SetNumberOfSteps(100);
    level->SetNormalizedValue(0.5);
    EXPECT_EQ(49u, level->GetStepValue());
    // A taper that passes NaN through gives no step position: the first step, not a wild number.
    level->SetNormalizedValue(std::nan(""));
    EXPECT_EQ(0u, level->GetStepValue());

    for (uint32_t steps : {0u, 1u})
    {
        level->SetNumberOfSteps(steps);
        level->SetNormalizedValue(0.75);
        EXPECT_EQ(0u, level->GetStepValue());
        level->SetStepValue(0);
        EXPECT_EQ(0.75, level->GetNormalizedValue());
    }
}

TEST(Parameter, ShortenedNameIsTheLongestVariantWithinTheLimit)
{
    const auto parameter = std::make_unique<AAX_CParameter<float>>(
        "gain", AAX_CString("Output Gains"), 0.0f, LinearTestTaper(), DecimalTestDelegate(), true);
    ASSERT_EQ(12u, parameter->Name().Length());
    EXPECT_STREQ("Output Gains", parameter->ShortenedName(4).Get()); // no variants yet
    parameter->AddShortenedName(AAX_CString("Out"));
    parameter->AddShortenedName(AAX_CString("Out Gain"));
    EXPECT_STREQ("Out", parameter->ShortenedName(4).Get());
    EXPECT_STREQ("Out", parameter->ShortenedName(2).Get());
    EXPECT_STREQ("Out Gain", parameter->ShortenedName(8).Get());
    EXPECT_STREQ("Output Gains", parameter->ShortenedName(-1).Get());
    EXPECT_STREQ("Output Gains", parameter->ShortenedName(12).Get());
    // A later variant of the same length replaces the earlier one.
    parameter->AddShortenedName(AAX_CString("Gan"));
    EXPECT_STREQ("Gan", parameter->ShortenedName(3).Get());
    parameter->ClearShortenedNames();
    EXPECT_STREQ("Output Gains", parameter->ShortenedName(3).Get());
}

TEST(Parameter, IdentifierIsCutTo31Characters)
{
    const std::string longId(40, 'x');
    auto parameter = NewLevel(longId.c_str());
    EXPECT_EQ(std::string(31, 'x'), parameter->Identifier());
    auto unnamed = NewLevel(nullptr);
    EXPECT_STREQ("", unnamed->Identifier());
}

TEST(Parameter, TextConversionsWriteTheValueBeforeTheRangeTest)
{
    auto level = NewLevel();
    double normalized = -1.0;
    EXPECT_TRUE(level->GetNormalizedValueFromString(AAX_CString("0.50"), &normalized));
    EXPECT_EQ(0.5, normalized);
    // Outside [0, 1]: the converted value is there, the answer says it is unusable.
    EXPECT_FALSE(level->GetNormalizedValueFromString(AAX_CString("1.50"), &normalized));
    EXPECT_EQ(1.5, normalized);
    normalized = -1.0;
    EXPECT_FALSE(level->GetNormalizedValueFromString(AAX_CString("loud"), &normalized));
    EXPECT_EQ(-1.0, normalized);

    AAX_CString text;
    EXPECT_TRUE(level->GetStringFromNormalizedValue(0.25, &text));
    EXPECT_STREQ("0.25", text.Get());
    EXPECT_FALSE(level->GetStringFromNormalizedValue(1.5, 8, &text));
    EXPECT_STREQ("1.50", text.Get());

    // Setting from text takes any number, in range or not, and nothing from a bad text.
    EXPECT_TRUE(level->SetValueFromString(AAX_CString("2.00")));
    EXPECT_EQ(2.0f, level->GetValue());
    EXPECT_FALSE(level->SetValueFromString(AAX_CString("two")));
    EXPECT_EQ(2.0f, level->GetValue());
    EXPECT_TRUE(level->GetValueString(3, &text));
    EXPECT_STREQ("2.00", text.Get());
}

TEST(Parameter, DelegatesOfAnotherValueTypeAreRefused)
{
    auto level = NewLevel("level", 0.5f);
    AAX_CBinaryTaperDelegate<bool> boolTaper;
    AAX_CBinaryDisplayDelegate<bool> boolTexts("off", "on");
    level->SetTaperDelegate(boolTaper, true);
    level->SetDisplayDelegate(boolTexts);
    AAX_CString text;
    level->GetValueString(&text);
    EXPECT_STREQ("0.50", text.Get());
    EXPECT_EQ(0.5, level->GetNormalizedValue());
}

TEST_F(AutomatedParameter, RegistersOnAttachAndUnregistersOnDetachAndDestruction)
{
    mHost.Log().Clear();
    {
        auto level = NewLevel("level");
        level->SetAutomationDelegate(&mDelegate);
        level->SetAutomationDelegate(&mDelegate);
        level->SetAutomationDelegate(nullptr);
        level->SetAutomationDelegate(&mDelegate);
    }
    EXPECT_EQ((std::vector<std::string>{
                  "AutomationDelegate.RegisterParameter", "AutomationDelegate.UnregisterParameter",
                  "AutomationDelegate.RegisterParameter", "AutomationDelegate.UnregisterParameter",
                  "AutomationDelegate.RegisterParameter", "AutomationDelegate.UnregisterParameter"}),
              AutomationCalls());
    for (const Call& call : mHost.Log().Calls())
    {
        if (call.interface == "AutomationDelegate")
        {
            EXPECT_EQ("level", call.args.at(0));
        }
    }
}

TEST_F(AutomatedParameter, PluginChangeIsTouchRequestReleaseAndStoredOnTheHostsAnswer)
{
    auto level = NewLevel("level", 0.0f);
    level->SetAutomationDelegate(&mDelegate);
    mHost.Log().Clear();

    level->SetNormalizedValue(0.25);
    EXPECT_EQ((std::vector<std::string>{"AutomationDelegate.PostTouchRequest",
                                        "AutomationDelegate.PostSetValueRequest",
                                        "AutomationDelegate.PostReleaseRequest"}),
              AutomationCalls());
    EXPECT_EQ((std::vector<std::string>{"level", "0.25"}), Find("PostSetValueRequest").at(0).args);
    EXPECT_EQ(0.0f, level->GetValue());

    // The host's answer stores the value and reports it once; the same answer again is silent.
    mHost.Log().Clear();
    level->UpdateNormalizedValue(0.25);
    EXPECT_EQ(0.25f, level->GetValue());
    level->UpdateNormalizedValue(0.25);
    ASSERT_EQ(1u, Find("PostCurrentValue").size());
    EXPECT_EQ((std::vector<std::string>{"level", "0.25"}), Find("PostCurrentValue").at(0).args);
    EXPECT_EQ(1u, AutomationCalls().size());
}

TEST_F(AutomatedParameter, HostAnswerAfterATaperChangeIsReportedEvenWhenUnchanged)
{
    auto level = NewLevel("level", 0.5f);
    level->SetAutomationDelegate(&mDelegate);
    mHost.Log().Clear();

    // Same real value under a wider taper: re-requested at its new normalized position.
    level->SetTaperDelegate(LinearTestTaper(0.0f, 2.0f), true);
    ASSERT_EQ(1u, Find("PostSetValueRequest").size());
    EXPECT_EQ((std::vector<std::string>{"level", "0.25"}), Find("PostSetValueRequest").at(0).args);
    EXPECT_EQ(0.5f, level->GetValue());

    level->UpdateNormalizedValue(0.25); // the value is 0.5 already, but the report is pending
    level->UpdateNormalizedValue(0.25);
    EXPECT_EQ(1u, Find("PostCurrentValue").size());
}

TEST_F(AutomatedParameter, TaperChangeWithoutPreservingKeepsTheNormalizedPosition)
{
    auto level = NewLevel("level", 0.5f);
    level->SetAutomationDelegate(&mDelegate);
    mHost.Log().Clear();
    level->SetTaperDelegate(LinearTestTaper(0.0f, 2.0f), false);
    EXPECT_EQ(1.0f, level->GetValue());
    EXPECT_EQ(0u, Find("PostSetValueRequest").size());
    ASSERT_EQ(1u, Find("PostCurrentValue").size());
    EXPECT_EQ((std::vector<std::string>{"level", "0.5"}), Find("PostCurrentValue").at(0).args);
}

TEST_F(AutomatedParameter, NewDisplayDelegateAsksTheHostToFetchTheText)
{
    auto level = NewLevel("level", 0.5f);
    level->SetAutomationDelegate(&mDelegate);
    mHost.Log().Clear();
    level->SetDisplayDelegate(DecimalTestDelegate());
    ASSERT_EQ(1u, Find("PostCurrentValue").size());
    EXPECT_EQ((std::vector<std::string>{"level", "0.5"}), Find("PostCurrentValue").at(0).args);
    EXPECT_EQ(0.5f, level->GetValue());
}
