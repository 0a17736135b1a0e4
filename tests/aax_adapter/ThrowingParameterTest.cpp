// An effect whose setParameter throws for the top values of one parameter (a real one throws
// std::bad_alloc at 0.99 and 1.0): it initialises, every parameter is published, it processes, and
// only a host write of a throwing value fails, leaving everything else as it was.

#include "tests/aax_adapter/OpenedPlugIn.h"
#include "tests/aax_adapter/ProcessingInstance.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"
#include "host_kit/HostString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testhost;

namespace
{

constexpr int32_t kThrowingParameter = 1;

TestEffectConfig throwingEffect()
{
    TestEffectConfig config = testEffectDefaults();
    config.throwingParameter = kThrowingParameter;
    return config;
}

double effectValue(DataModelInstance& dataModel, const char* id)
{
    double value = -1.0;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterNormalizedValue(id, &value)) << id;
    return value;
}

std::string currentText(DataModelInstance& dataModel, const char* id)
{
    HostString text;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterValueString(id, &text, 32)) << id;
    return text.Text();
}

} // namespace

TEST(ThrowingParameter, TheEffectInitialisesPublishesEveryParameterAndProcesses)
{
    PlugInSession session(testEffectPath(), throwingEffect());
    ASSERT_TRUE(session.scanned());
    ProcessingInstance instance(session, kStereoComponent, 64);
    ASSERT_EQ(AAX_SUCCESS, instance.dataModel.InitializeResult());
    ASSERT_TRUE(instance.ready());
    DataModelInstance& dataModel = instance.dataModel;

    EXPECT_EQ((std::vector<std::string>{"MasterBypassID", "0", "1", "2"}), dataModel.ParameterIds());
    // The probe put the parameter back where it was, and its texts below the throwing values are
    // the effect's own.
    EXPECT_FLOAT_EQ(0.25f, static_cast<float>(effectValue(dataModel, "1")));
    EXPECT_EQ("0.25u", currentText(dataModel, "1"));
    HostString text;
    EXPECT_EQ(AAX_SUCCESS, dataModel->GetParameterStringFromValue("1", 0.98, &text, 32));
    EXPECT_EQ("0.98u", text.Text());

    instance.context.FillInputs(1.0f);
    instance.process();
    EXPECT_EQ(1.0f + kTestEffectCrossGain + kTestEffectOutput0Offset, instance.context.Output(0)[0]);
    EXPECT_EQ(1.0f + kTestEffectCrossGain + kTestEffectOutput1Offset, instance.context.Output(1)[0]);
}

TEST(ThrowingParameter, AHostWriteOfAThrowingValueAnswersAnErrorAndChangesNothing)
{
    OpenedPlugIn opened(testEffectPath(), throwingEffect());
    ASSERT_TRUE(opened.ready());
    DataModelInstance& dataModel = opened.dataModel();
    HostAutomationDelegate* delegate = dataModel.Controller()->AutomationDelegate();
    dataModel.DeliverAutomation();

    EXPECT_NE(AAX_SUCCESS, dataModel->SetParameterNormalizedValue("1", 1.0));
    EXPECT_NE(AAX_SUCCESS, dataModel->UpdateParameterNormalizedValue("1", 0.995, 0));
    EXPECT_NE(AAX_SUCCESS, dataModel->SetParameterNormalizedRelative("1", 0.8));
    // No request was posted for the value the effect refused, and neither the effect nor the
    // published parameter moved.
    EXPECT_TRUE(delegate->PendingSetValueRequests().empty());
    EXPECT_FLOAT_EQ(0.25f, static_cast<float>(effectValue(dataModel, "1")));
    EXPECT_EQ("0.25u", currentText(dataModel, "1"));
    for (const char* other : {"0", "2"})
        EXPECT_FLOAT_EQ(0.25f, static_cast<float>(effectValue(dataModel, other))) << other;

    // Every other value of the parameter is written as usual.
    EXPECT_EQ(AAX_SUCCESS, dataModel->SetParameterNormalizedValue("1", 0.5));
    EXPECT_EQ(1, dataModel.DeliverAutomation());
    EXPECT_FLOAT_EQ(0.5f, static_cast<float>(effectValue(dataModel, "1")));
    EXPECT_EQ("0.50u", currentText(dataModel, "1"));
}
