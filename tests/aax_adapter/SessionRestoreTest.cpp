// A saved session coming back: the host restores the state chunk ('All ') and the controls chunk
// ('elck') in either order and answers whatever requests the module makes, and the effect still
// ends in the state its 'All ' chunk holds, with the published values equal to the effect's.

#include "tests/aax_adapter/ControlsChunk.h"
#include "tests/aax_adapter/EffectProgramMenu.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "tests/aax_adapter/SavedChunks.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testhost;

namespace
{

const float kProgram1Values[] = {0.25f, 0.6f, 0.8f};

enum class Order
{
    ControlsFirst,
    StateFirst,
};

enum class Answers
{
    AsRequested,
    Inverted, // every request answered with 1 - the value asked for
};

// Answers every request the module has made, the way the test's host is set to.
void answerRequests(DataModelInstance& dataModel, Answers answers)
{
    HostAutomationDelegate* delegate = dataModel.Controller()->AutomationDelegate();
    if (answers == Answers::AsRequested)
    {
        dataModel.DeliverAutomation();
        return;
    }
    const auto requests = delegate->PendingSetValueRequests();
    dataModel.DeliverAutomation();
    for (const auto& [id, value] : requests)
        dataModel->UpdateParameterNormalizedValue(id.c_str(), 1.0 - value, 0);
}

} // namespace

TEST(SessionRestore, TheEffectEndsInItsStateChunkWhicheverOrderTheChunksComeIn)
{
    PlugInSession session(testEffectPath(), twoProgramEffect(kProgram1Values));
    ASSERT_TRUE(session.scanned());
    SavedChunk controls;
    SavedChunk state;
    {
        DataModelInstance source(session.host(), session.dataModelFactory());
        ASSERT_EQ(AAX_SUCCESS, source.InitializeResult());
        ASSERT_EQ(AAX_SUCCESS, source->SetParameterNormalizedValue("0", 0.9));
        source.DeliverAutomation();
        // The effect then changes program without telling the host: every published value is
        // stale now (0.9, 0.25, 0.25 against the effect's 0.25, 0.6, 0.8).
        ASSERT_EQ(0, selectEffectProgram(session.bundle(), 1, false));
        ASSERT_EQ(AAX_SUCCESS, source.GetChunk(kControlsChunk, &controls));
        ASSERT_EQ(AAX_SUCCESS, source.GetChunk(kAllChunk, &state));
    }

    for (Order order : {Order::ControlsFirst, Order::StateFirst})
        for (Answers answers : {Answers::AsRequested, Answers::Inverted})
        {
            SCOPED_TRACE(
                std::string(order == Order::ControlsFirst ? "controls first" : "state first") +
                (answers == Answers::AsRequested ? ", answered as requested" : ", answered inverted"));
            DataModelInstance restored(session.host(), session.dataModelFactory());
            ASSERT_EQ(AAX_SUCCESS, restored.InitializeResult());
            if (order == Order::ControlsFirst)
            {
                ASSERT_EQ(AAX_SUCCESS, restored.SetChunk(controls));
                ASSERT_EQ(AAX_SUCCESS, restored.SetChunk(state));
            }
            else
            {
                ASSERT_EQ(AAX_SUCCESS, restored.SetChunk(state));
                ASSERT_EQ(AAX_SUCCESS, restored.SetChunk(controls));
            }
            answerRequests(restored, answers);

            // The effect holds what was saved, every program of it.
            SavedChunk restoredState;
            ASSERT_EQ(AAX_SUCCESS, restored.GetChunk(kAllChunk, &restoredState));
            EXPECT_EQ(state.data, restoredState.data);
            // The published values are the effect's, as the controls they save show.
            SavedChunk restoredControls;
            ASSERT_EQ(AAX_SUCCESS, restored.GetChunk(kControlsChunk, &restoredControls));
            const ControlsChunk published(restoredControls);
            for (int index = 0; index < 3; ++index)
            {
                const std::string id = std::to_string(index);
                double value = -1.0;
                ASSERT_EQ(AAX_SUCCESS, restored->GetParameterNormalizedValue(id.c_str(), &value));
                EXPECT_EQ(kProgram1Values[index], static_cast<float>(value)) << id;
                double saved = -1.0;
                EXPECT_TRUE(published.doubleValue(id, &saved)) << id;
                EXPECT_EQ(kProgram1Values[index], static_cast<float>(saved)) << id;
            }
        }
}
