#include "TestPlugIn.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/HostController.h"
#include "host_kit/HostString.h"
#include "host_kit/HostViewContainer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
using testhost::DataModelInstance;
using testhost::GuiInstance;
using Events = std::vector<std::string>;

void* Window(uintptr_t id)
{
    return reinterpret_cast<void*>(id);
}

class EffectGUI : public ::testing::Test
{
protected:
    EffectGUI()
    {
        TestDataModel::SetNextSetup(
            [](TestDataModel& model)
            {
                model.Parameters().AddParameter(NewBypassParameter());
                model.Parameters().AddParameter(NewLevelParameter("0"));
                model.Parameters().AddParameter(NewSwitchParameter("1"));
                return AAX_SUCCESS;
            });
        mDataModel = std::make_unique<DataModelInstance>(mHost, &TestDataModel::Create);
    }

    TestGui& Gui(GuiInstance& instance) { return TestGui::From(instance.Get()); }
    uint32_t DataModelReferences() { return TestDataModel::From(mDataModel->Get()).GetRefCount(); }

    testhost::TestHost mHost;
    std::unique_ptr<DataModelInstance> mDataModel;
};
} // namespace

TEST_F(EffectGUI, AttachingAViewCreatesTheContainerThenPushesEveryParameterInOrder)
{
    GuiInstance gui(mHost, &TestGui::Create, mDataModel.get());
    ASSERT_EQ(AAX_SUCCESS, gui.InitializeResult());
    EXPECT_EQ(Events{"CreateViewContents"}, Gui(gui).events);
    Gui(gui).events.clear();

    gui.AttachView(AAX_eViewContainer_Type_HWND, Window(0x1234));
    EXPECT_EQ((Events{"CreateViewContainer", "ParameterUpdated MasterBypassID", "ParameterUpdated 0",
                      "ParameterUpdated 1"}),
              Gui(gui).events);
    EXPECT_EQ(std::vector<void*>{Window(0x1234)}, Gui(gui).windowsSeenOnCreate);
}

TEST_F(EffectGUI, EachContainerIsReleasedOnReplacementAndOnDetach)
{
    GuiInstance gui(mHost, &TestGui::Create, mDataModel.get());
    testhost::HostViewContainer* first = gui.AttachView(AAX_eViewContainer_Type_HWND, Window(1));
    EXPECT_GT(first->Outstanding(), 0);
    testhost::HostViewContainer* second = gui.AttachView(AAX_eViewContainer_Type_HWND, Window(2));
    EXPECT_EQ(0, first->Outstanding());
    EXPECT_GT(second->Outstanding(), 0);
    EXPECT_EQ((std::vector<void*>{Window(1), Window(2)}), Gui(gui).windowsSeenOnCreate);
    EXPECT_EQ(Window(2), Gui(gui).GetViewContainer()->GetPtr());

    Gui(gui).events.clear();
    ASSERT_EQ(AAX_SUCCESS, gui.DetachView());
    EXPECT_EQ(Events{"DeleteViewContainer"}, Gui(gui).events);
    EXPECT_FALSE(Gui(gui).containerVisibleOnDelete);
    EXPECT_EQ(nullptr, Gui(gui).GetViewContainer());
    EXPECT_EQ(0, second->Outstanding());
    EXPECT_EQ(0, first->OverReleases() + second->OverReleases());
}

TEST_F(EffectGUI, UninitializeGivesBackTheDataModelAndIsHarmlessTwice)
{
    const uint32_t before = DataModelReferences();
    {
        GuiInstance gui(mHost, &TestGui::Create, mDataModel.get());
        EXPECT_EQ(before + 1, DataModelReferences());
        EXPECT_NE(nullptr, Gui(gui).GetEffectParameters());
        EXPECT_EQ(AAX_SUCCESS, gui.Uninitialize());
        EXPECT_EQ(AAX_SUCCESS, gui.Uninitialize());
        EXPECT_EQ(before, DataModelReferences());
        EXPECT_EQ(nullptr, Gui(gui).GetEffectParameters());
        // Without the data model, attaching pushes no parameters.
        Gui(gui).events.clear();
        gui.AttachView(AAX_eViewContainer_Type_HWND, Window(3));
        EXPECT_EQ(Events{"CreateViewContainer"}, Gui(gui).events);
    }
    EXPECT_EQ(before, DataModelReferences());
    mDataModel.reset();
    EXPECT_EQ(0, mHost.OutstandingReferences()) << mHost.ReferenceReport();
}

TEST_F(EffectGUI, DestroyingTheGuiWithEverythingAttachedReleasesEverything)
{
    const uint32_t before = DataModelReferences();
    testhost::HostViewContainer* view = nullptr;
    {
        void* object = TestGui::Create();
        auto* gui = static_cast<AAX_IACFEffectGUI*>(object);
        void* queried = nullptr;
        ASSERT_EQ(ACF_OK, gui->QueryInterface(IID_IAAXEffectGUIV1, &queried));
        ASSERT_EQ(AAX_SUCCESS, gui->Initialize(mDataModel->Controller()));
        view = mHost.NewViewContainer(AAX_eViewContainer_Type_HWND, Window(4));
        ASSERT_EQ(AAX_SUCCESS, gui->SetViewContainer(view));
        // The host lets go without detaching or uninitialising.
        EXPECT_EQ(0u, gui->Release());
    }
    EXPECT_EQ(0, view->Outstanding());
    EXPECT_EQ(before, DataModelReferences());
}

TEST_F(EffectGUI, InitializeWithoutAControllerCreatesNoViewContents)
{
    GuiInstance gui(mHost, &TestGui::Create, nullptr, false);
    ASSERT_TRUE(gui.IsValid());
    EXPECT_EQ(AAX_ERROR_NOT_INITIALIZED, gui->Initialize(nullptr));
    EXPECT_TRUE(Gui(gui).events.empty());
    testhost::HostString label("kept");
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, gui->GetCustomLabel(0, &label));
    EXPECT_EQ("kept", label.Text());

    void* other = nullptr;
    EXPECT_EQ(ACF_E_NOINTERFACE, gui->QueryInterface(IID_IAAXEffectParametersV1, &other));
    EXPECT_EQ(nullptr, other);
}
