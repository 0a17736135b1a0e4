// The module carrying a real third-party VST 2 effect, IEM's DualDelay from Debian's
// iem-plugin-suite-vst, as a user would ship it: described, instantiated, its parameters published
// with its own texts, audio through every channel configuration, and its state saved and restored.

#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/ControlsChunk.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostString.h"
#include "host_kit/ProcessingContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>

using namespace testhost;

namespace
{

constexpr int32_t kThirdPartyBlock = 512;

std::string valueText(const DataModelInstance& dataModel, const std::string& id, double value)
{
    HostString text;
    dataModel->GetParameterStringFromValue(id.c_str(), value, &text, 64);
    return text.Text();
}

// Every test here runs the real effect, so none runs without its package.
class ThirdPartyEffect : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(dualDelayPath()))
            GTEST_SKIP() << dualDelayPath() << " is not installed";
    }
};

} // namespace

TEST_F(ThirdPartyEffect, DualDelayIsPublishedWithItsOwnNamesAndTexts)
{
    OpenedPlugIn opened(dualDelayPath());
    ASSERT_TRUE(opened.ready());
    ASSERT_EQ(3u, opened.session.effect().components.size());
    DataModelInstance& dataModel = opened.dataModel();

    const std::vector<std::string> ids = dataModel.ParameterIds();
    ASSERT_GT(ids.size(), 2u);
    EXPECT_EQ("MasterBypassID", ids[0]);
    int parametersWithChangingTexts = 0;
    int delayTimesInMilliseconds = 0;
    std::set<std::string> names;
    for (size_t i = 1; i < ids.size(); ++i)
    {
        EXPECT_EQ(std::to_string(i - 1), ids[i]);
        HostString name;
        ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterName(ids[i].c_str(), &name));
        // "<index>: <the effect's own name>"
        const std::string prefix = ids[i] + ": ";
        ASSERT_EQ(0u, name.Text().rfind(prefix, 0)) << name.Text();
        EXPECT_GT(name.Text().size(), prefix.size()) << name.Text();
        names.insert(name.Text());

        const std::string low = valueText(dataModel, ids[i], 0.0);
        const std::string high = valueText(dataModel, ids[i], 1.0);
        // Every text was probed from the effect: none is left at the placeholder.
        EXPECT_EQ(std::string::npos, low.find("---")) << name.Text();
        EXPECT_EQ(std::string::npos, high.find("---")) << name.Text();
        if (low != high)
            ++parametersWithChangingTexts;
        // The effect's own unit texts, as it shows them elsewhere ("500.0ms").
        if (name.Text().find("delay time") != std::string::npos && high.size() > 2 &&
            high.compare(high.size() - 2, 2, "ms") == 0)
            ++delayTimesInMilliseconds;
    }
    EXPECT_EQ(ids.size() - 1, names.size());
    EXPECT_GT(parametersWithChangingTexts, 0);
    EXPECT_EQ(2, delayTimesInMilliseconds);
}

TEST_F(ThirdPartyEffect, DualDelayParametersStartAtTheEffectsOwnValuesAndTexts)
{
    OpenedPlugIn opened(dualDelayPath());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    SavedChunk controlsState;
    ASSERT_EQ(AAX_SUCCESS, dataModel.GetChunk(AAX_FourCC('e', 'l', 'c', 'k'), &controlsState));
    const ControlsChunk controls(controlsState);
    EXPECT_TRUE(controls.readWhole());

    const std::vector<std::string> ids = dataModel.ParameterIds();
    for (size_t i = 1; i < ids.size(); ++i)
    {
        const char* id = ids[i].c_str();
        SCOPED_TRACE(ids[i]);
        double effectValue = -1.0;
        double defaultValue = -1.0;
        int32_t steps = 0;
        ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue(id, &effectValue));
        ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterDefaultNormalizedValue(id, &defaultValue));
        ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterNumberOfSteps(id, &steps));
        HostString current;
        ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString(id, &current, 64));
        if (steps == 2)
        {
            EXPECT_EQ(effectValue > 0.5 ? 1.0 : 0.0, defaultValue);
            int32_t saved = -1;
            EXPECT_TRUE(controls.int32Value(id, &saved));
            EXPECT_EQ(defaultValue, static_cast<double>(saved));
        }
        else
        {
            EXPECT_FLOAT_EQ(static_cast<float>(effectValue), static_cast<float>(defaultValue));
            double saved = -1.0;
            EXPECT_TRUE(controls.doubleValue(id, &saved));
            EXPECT_FLOAT_EQ(static_cast<float>(effectValue), static_cast<float>(saved));
        }
        // The host shows the effect's own text for where the effect is.
        EXPECT_EQ(valueText(dataModel, ids[i], effectValue), current.Text());
    }

    // Normalization is a switch that starts on (SN3D); the dry signal starts at full level.
    HostString text;
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString("1", &text, 64));
    EXPECT_EQ("SN3D", text.Text());
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString("2", &text, 64));
    EXPECT_EQ("0.0dB", text.Text());
    double value = -1.0;
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterDefaultNormalizedValue("1", &value));
    EXPECT_EQ(1.0, value);
    ASSERT_EQ(AAX_SUCCESS, dataModel->GetParameterDefaultNormalizedValue("2", &value));
    EXPECT_EQ(1.0, value);
}

TEST_F(ThirdPartyEffect, DualDelayProcessesAudioInEveryConfiguration)
{
    PlugInSession session(dualDelayPath());
    ASSERT_TRUE(session.scanned());
    const auto renderBurst = [&](size_t, ProcessingInstance& instance)
    {
        ProcessingContext& context = instance.context;

        // A short burst, then silence for about a second at 48 kHz.
        double energy = 0.0;
        bool finite = true;
        for (int block = 0; block < 100; ++block)
        {
            context.FillInputs(0.0f);
            if (block == 0)
                for (int32_t channel = 0; channel < context.InputCount(); ++channel)
                    for (int32_t n = 0; n < 64; ++n)
                        context.Input(channel)[n] = 0.5f * std::sin(0.3f * static_cast<float>(n));
            instance.process();
            for (int32_t channel = 0; channel < context.OutputCount(); ++channel)
                for (int32_t n = 0; n < kThirdPartyBlock; ++n)
                {
                    const float sample = context.Output(channel)[n];
                    finite = finite && std::isfinite(sample);
                    energy += static_cast<double>(sample) * sample;
                }
        }
        EXPECT_TRUE(finite);
        EXPECT_GT(energy, 1.0e-6);
    };
    forEachConfiguration(session, kThirdPartyBlock, renderBurst);
}

TEST_F(ThirdPartyEffect, DualDelayStateRoundTripsWithIdenticalBytes)
{
    OpenedPlugIn opened(dualDelayPath());
    ASSERT_TRUE(opened.ready());
    SavedChunk saved;
    ASSERT_EQ(AAX_SUCCESS, opened.dataModel().GetChunk(AAX_FourCC('A', 'l', 'l', ' '), &saved));
    ASSERT_GT(saved.data.size(), 8u);

    // Restored into a second instance, as a host restores a saved session.
    DataModelInstance second(opened.session.host(), opened.session.dataModelFactory());
    ASSERT_EQ(AAX_SUCCESS, second.InitializeResult());
    ASSERT_EQ(AAX_SUCCESS, second.SetChunk(saved));
    SavedChunk restored;
    ASSERT_EQ(AAX_SUCCESS, second.GetChunk(saved.id, &restored));
    EXPECT_EQ(saved.data, restored.data);
}
