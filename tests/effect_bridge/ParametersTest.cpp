// Parameters and programs through the processor: names, texts, the display-text table, the range
// checks, held-back host writes, and the placeholder editor.

#include "effect_bridge/QuennetAudioProcessor.h"
#include "effect_bridge/QuennetAudioProcessorEditor.h"
#include "tests/effect_bridge/EffectInstallation.h"
#include "tests/effect_bridge/ParameterListener.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace
{

class Parameters : public ::testing::Test
{
protected:
    EffectInstallation installation{testEffectPath()};
    TestEffectConfig config = installation.defaults();
    std::unique_ptr<QuennetAudioProcessor> processor;

    void create()
    {
        installation.configure(config);
        processor = std::make_unique<QuennetAudioProcessor>();
        ASSERT_NE(processor->getEffect(), nullptr);
    }

    int setParameterCalls(int32_t index, int from = 0) const
    {
        const TestEffectLog& log = installation.log();
        int count = 0;
        for (int i = from; i < std::min(log.count, kTestEffectLogCapacity); ++i)
            if (log.calls[i].kind == kTestCallSetParameter && log.calls[i].opcode == index)
                ++count;
        return count;
    }
};

TEST_F(Parameters, NamesAreNumberedFromZero)
{
    std::snprintf(config.names[0], kTestEffectNameSize, "Mix");
    std::snprintf(config.names[2], kTestEffectNameSize, "Drive");
    create();
    EXPECT_EQ(processor->getNumParameters(), 3);
    EXPECT_EQ(processor->getParameterName(0), "0: Mix");
    EXPECT_EQ(processor->getParameterName(2), "2: Drive");
    char name[QuennetAudioProcessor::kEffectTextSize];
    processor->getEffectParameterName(2, name);
    EXPECT_STREQ(name, "Drive");
}

TEST_F(Parameters, TextsValuesLabelsAndPropertiesComeFromTheEffect)
{
    std::snprintf(config.label, kTestEffectNameSize, "dB");
    create();
    processor->setEffectParameter(1, 0.5f);
    EXPECT_EQ(processor->getParameter(1), 0.5f);
    EXPECT_EQ(processor->getParameterText(1), "0.50");
    char text[QuennetAudioProcessor::kEffectTextSize];
    processor->getEffectParameterLabel(1, text);
    EXPECT_STREQ(text, "dB");
    processor->getEffectParameterDisplay(1, text);
    EXPECT_STREQ(text, "0.50");
    VstParameterProperties properties{};
    EXPECT_TRUE(processor->getEffectParameterProperties(1, &properties));
    EXPECT_STREQ(properties.label, "dB");
    EXPECT_TRUE(processor->canEffectParameterBeAutomated(1));
    EXPECT_EQ(processor->setEffectSpeakerArrangement(), 1) << "two channels each way";
}

TEST_F(Parameters, AutomatableUnlessTheNameIsEmptyOrStartsWithDashOrTilde)
{
    config.numParams = 4;
    std::snprintf(config.names[0], kTestEffectNameSize, "Mix");
    std::snprintf(config.names[1], kTestEffectNameSize, "-hidden");
    std::snprintf(config.names[2], kTestEffectNameSize, "~internal");
    config.names[3][0] = '\0';
    create();
    EXPECT_TRUE(processor->isParameterAutomatable(0));
    EXPECT_FALSE(processor->isParameterAutomatable(1));
    EXPECT_FALSE(processor->isParameterAutomatable(2));
    EXPECT_FALSE(processor->isParameterAutomatable(3));
    EXPECT_FALSE(processor->isParameterAutomatable(4));
    EXPECT_FALSE(processor->isParameterAutomatable(-1));
}

TEST_F(Parameters, TextTableProbesOneHundredAndOneValuesAndRestoresTheValue)
{
    create();
    for (int step : {0, 50, 100})
        EXPECT_STREQ(processor->getParameterTexts().entry(1, step), "---") << "before probing";
    processor->setEffectParameter(1, 0.25f);
    const int before = installation.log().count;

    EXPECT_EQ(processor->buildParameterTextTable(1), 101);
    EXPECT_EQ(setParameterCalls(1, before), 102);
    EXPECT_EQ(installation.log().calls[installation.log().count - 1].opt, 0.25f) << "the last call restores";
    EXPECT_EQ(processor->getEffectParameter(1), 0.25f);
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 0), "0.00");
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 37), "0.37");
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 100), "1.00");
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 57), "0.57");
    EXPECT_STREQ(processor->getParameterTexts().entry(0, 50), "---") << "other rows stay unprobed";
}

TEST_F(Parameters, ValuesTheEffectThrowsAtCostOnlyTheirOwnTexts)
{
    config.throwingParameter = 1;
    create();
    processor->setEffectParameter(1, 0.25f);

    // 0.99 and 1.00 throw: 99 texts, each a change, and the value is put back.
    EXPECT_EQ(processor->buildParameterTextTable(1), 99);
    EXPECT_EQ(processor->getEffectParameter(1), 0.25f);
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 98), "0.98");
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 99), "---");
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 100), "---");

    // A host write of a throwing value passes the exception on and is not taken as the host's.
    processor->acceptHostWrites();
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    EXPECT_THROW(processor->setParameter(1, 1.0f), std::bad_alloc);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    EXPECT_EQ(processor->getEffectParameter(1), 0.25f);
}

TEST_F(Parameters, SwitchConstantEmptyAndLongTextsCountTheirChanges)
{
    config.numParams = 4;
    config.display[0] = kTestDisplaySwitch;
    config.display[1] = kTestDisplayFixed;
    config.display[2] = kTestDisplayEmpty;
    config.display[3] = kTestDisplayFixed;
    std::snprintf(config.fixedTexts[3], kTestEffectNameSize, "ABCDEFGHIJKLMNOPQRST");
    create();

    EXPECT_EQ(processor->getParameterNumSteps(0), 2);
    EXPECT_STREQ(processor->getParameterTexts().entry(0, 0), "Off");
    EXPECT_STREQ(processor->getParameterTexts().entry(0, 49), "Off");
    EXPECT_STREQ(processor->getParameterTexts().entry(0, 50), "On");
    EXPECT_STREQ(processor->getParameterTexts().entry(0, 99), "On");

    EXPECT_EQ(processor->buildParameterTextTable(1), 1);
    EXPECT_STREQ(processor->getParameterTexts().entry(1, 73), "Fixed");

    EXPECT_EQ(processor->buildParameterTextTable(2), 0);
    EXPECT_STREQ(processor->getParameterTexts().entry(2, 73), "");

    EXPECT_EQ(processor->buildParameterTextTable(3), 1);
    EXPECT_STREQ(processor->getParameterTexts().entry(3, 10), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(processor->getParameterText(3), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(Parameters, TextsWithoutTerminatorAreCutAtTheBuffersEnd)
{
    config.display[0] = kTestDisplayUnterminated;
    create();
    EXPECT_EQ(processor->getParameterText(0), juce::String::repeatedString("x", 1023));
    EXPECT_EQ(processor->buildParameterTextTable(0), 1);
    EXPECT_STREQ(processor->getParameterTexts().entry(0, 0), "xxxxxxxxxxxxxxxx");
}

TEST_F(Parameters, IndicesOutOfRangeAnswerNeutralValuesAndNeverReachTheEffect)
{
    create();
    const int before = installation.log().count;
    for (int index : {-1, 3, 1 << 30})
    {
        EXPECT_EQ(processor->getParameterName(index), "");
        EXPECT_EQ(processor->getParameter(index), 0.0f);
        EXPECT_EQ(processor->getParameterText(index), "");
        EXPECT_EQ(processor->getParameterNumSteps(index), 0);
        processor->setEffectParameter(index, 0.5f);
        EXPECT_EQ(processor->getEffectParameter(index), 0.0f);
        EXPECT_FALSE(processor->canEffectParameterBeAutomated(index));
        char text[QuennetAudioProcessor::kEffectTextSize] = "stale";
        processor->getEffectParameterDisplay(index, text);
        EXPECT_STREQ(text, "");
        processor->setParameterFromEffect(index, 0.5f);
    }
    EXPECT_EQ(installation.log().count, before) << "nothing reached the effect";
    EXPECT_STREQ(processor->getParameterTexts().entry(3, 0), "");
    EXPECT_STREQ(processor->getParameterTexts().entry(0, 101), "");
    EXPECT_STREQ(processor->getParameterTexts().entry(0, -1), "");
    EXPECT_STREQ(processor->getParameterTexts().entry(-1, 0), "");
    processor->getEffectParameterName(0, nullptr);
    EXPECT_FALSE(processor->getEffectParameterProperties(0, nullptr));
}

TEST_F(Parameters, HostWritesAreHeldBackUntilTheFirstRefresh)
{
    create();
    ParameterListener listener;
    processor->addListener(&listener);
    EXPECT_TRUE(processor->isParameterForwardingSuppressed());

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    processor->setParameter(0, 0.9f);
    EXPECT_EQ(processor->getEffectParameter(0), 0.25f) << "not forwarded before the first refresh";
    processor->setEffectParameter(0, 0.4f);
    EXPECT_EQ(processor->getEffectParameter(0), 0.4f) << "direct writes are not held back";

    const int before = installation.log().count;
    processor->refreshParametersFromEffect();
    EXPECT_EQ(setParameterCalls(0, before) + setParameterCalls(1, before), 0) << "a refresh echoes nothing";
    const auto changes = listener.snapshot();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0], std::make_pair(0, 0.4f));
    EXPECT_EQ(changes[2], std::make_pair(2, 0.25f));
    EXPECT_FALSE(processor->isParameterForwardingSuppressed());

    processor->setParameter(0, 0.9f);
    EXPECT_EQ(processor->getEffectParameter(0), 0.9f) << "forwarded after the refresh";
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    processor->removeListener(&listener);
}

TEST_F(Parameters, AutomationFromTheEffectReachesTheListenersButIsNotSetBackIntoTheEffect)
{
    create();
    processor->refreshParametersFromEffect();
    ParameterListener listener;
    processor->addListener(&listener);
    const int before = installation.log().count;
    installation.callHostFromEffect(audioMasterAutomate, 2, 0, nullptr, 0.8f);
    // The effect already holds the value; setting it back could undo a newer one.
    EXPECT_EQ(setParameterCalls(2, before), 0);
    EXPECT_EQ(listener.snapshot(), (std::vector<std::pair<int, float>>{{2, 0.8f}}));
    processor->removeListener(&listener);
}

TEST_F(Parameters, ProgramsAreTheEffects)
{
    config.numPrograms = 3;
    create();
    EXPECT_EQ(processor->getNumPrograms(), 3);
    EXPECT_EQ(processor->getCurrentProgram(), 0);
    processor->setCurrentProgram(2);
    EXPECT_EQ(processor->getCurrentProgram(), 2);
    EXPECT_EQ(processor->getProgramName(0), "Program 2") << "any index names the current program";
    EXPECT_EQ(processor->getProgramName(7), "Program 2");

    const int before = installation.log().count;
    processor->changeProgramName(1, "Renamed");
    EXPECT_EQ(installation.log().count, before);
}

TEST_F(Parameters, ProgramsTheEffectDoesNotHaveAreNeverSelected)
{
    create();
    processor->setCurrentProgram(1);
    const int before = installation.log().count;
    for (int index : {-1, 2, 1 << 30})
        processor->setCurrentProgram(index);
    EXPECT_EQ(installation.log().count, before);
    EXPECT_EQ(processor->getCurrentProgram(), 1);
}

TEST_F(Parameters, TimerCallbackCountsDownAndRefreshesOnTheThirdTick)
{
    create();
    ParameterListener listener;
    processor->addListener(&listener);
    processor->timerCallback();
    EXPECT_EQ(processor->getRefreshCountdown(), QuennetAudioProcessor::kRefreshIdle) << "idle stays idle";

    installation.callHostFromEffect(audioMasterUpdateDisplay);
    processor->timerCallback();
    processor->timerCallback();
    EXPECT_EQ(listener.refreshesSeen, 0);
    processor->timerCallback();
    EXPECT_EQ(listener.refreshesSeen, 1);
    EXPECT_EQ(processor->getRefreshCountdown(), 0);
    processor->timerCallback();
    EXPECT_EQ(listener.refreshesSeen, 1);
    EXPECT_EQ(processor->getRefreshCountdown(), QuennetAudioProcessor::kRefreshIdle);

    processor->audioProcessorChanged(processor.get(), juce::AudioProcessorListener::ChangeDetails{});
    EXPECT_EQ(processor->getRefreshCountdown(), 3);
    processor->removeListener(&listener);
}

TEST(PlaceholderEditor, IsAnEmpty400By300ComponentWithOrWithoutAnEffect)
{
    for (const std::string& library : {testEffectPath(), testEffectNoEntryPath()})
    {
        EffectInstallation installation(library);
        QuennetAudioProcessor processor;
        EXPECT_TRUE(processor.hasEditor());
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditor());
        ASSERT_NE(dynamic_cast<QuennetAudioProcessorEditor*>(editor.get()), nullptr);
        EXPECT_EQ(editor->getWidth(), 400);
        EXPECT_EQ(editor->getHeight(), 300);
        EXPECT_EQ(editor->getNumChildComponents(), 0);
        EXPECT_EQ(editor->getAudioProcessor(), &processor);
    }
}

} // namespace
