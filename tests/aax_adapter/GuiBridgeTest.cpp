// The GUI object as the host drives it: the effect's editor opened in the host's window, the view
// sized from the effect's rectangle, timer ticks as idle calls or as the resize the effect asked
// for, and the editor closed on detach and at destruction, also after the host let go of the
// data model.

#include "tests/aax_adapter/EditorProbeEffect.h"
#include "tests/aax_adapter/PlugInSession.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/HostViewContainer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace testhost;

namespace
{

class EditorProbe
{
public:
    explicit EditorProbe(const ModuleBundle& bundle)
        : setRect(bundle.effectFunction<EditorProbeSetRectProc>(kEditorProbeSetRectName)),
          probeLog(bundle.effectFunction<EditorProbeLogProc>(kEditorProbeLogName)),
          requestResize(bundle.effectFunction<EditorProbeRequestResizeProc>(kEditorProbeRequestResizeName))
    {
    }
    bool valid() const { return setRect != nullptr && probeLog != nullptr && requestResize != nullptr; }
    void supplyRectangle(ERect rect) const { setRect(&rect); }
    void supplyNoRectangle() const { setRect(nullptr); }
    intptr_t askForNewSize(int32_t width, int32_t height) const { return requestResize(width, height); }

    int count(int32_t opcode) const
    {
        int found = 0;
        for (const EditorProbeCall& call : calls())
            found += call.opcode == opcode ? 1 : 0;
        return found;
    }
    std::vector<EditorProbeCall> calls() const
    {
        const EditorProbeLog& log = *probeLog();
        return std::vector<EditorProbeCall>(log.calls, log.calls + log.count);
    }
    std::vector<int32_t> opcodes() const
    {
        std::vector<int32_t> result;
        for (const EditorProbeCall& call : calls())
            result.push_back(call.opcode);
        return result;
    }

private:
    EditorProbeSetRectProc setRect;
    EditorProbeLogProc probeLog;
    EditorProbeRequestResizeProc requestResize;
};

std::string editorProbePath()
{
    return OMBREL_EDITOR_PROBE_EFFECT;
}

// The editor probe behind one instance with its GUI object, as a host has them before it opens the
// plug-in window.
struct EditorSession
{
    EditorSession()
        : session(editorProbePath()), probe(session.bundle()),
          dataModel(session.host(), session.dataModelFactory()),
          gui(session.host(), session.guiFactory(), &dataModel)
    {
    }

    bool ready() const { return session.scanned() && probe.valid() && gui.InitializeResult() == AAX_SUCCESS; }

    PlugInSession session;
    const EditorProbe probe;
    DataModelInstance dataModel;
    GuiInstance gui;
};

} // namespace

TEST(GuiBridge, TheEditorOpensOnlyInAWindowHandleContainerWithTheWindowUnchanged)
{
    EditorSession editor;
    ASSERT_TRUE(editor.ready());
    const EditorProbe& probe = editor.probe;
    GuiInstance& gui = editor.gui;

    gui.AttachView(AAX_eViewContainer_Type_NSView, kTestHostWindow);
    gui.AttachView(AAX_eViewContainer_Type_UIView, kTestHostWindow);
    gui.AttachView(AAX_eViewContainer_Type_HWND, nullptr);
    EXPECT_EQ(0, probe.count(effEditOpen));

    gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    ASSERT_EQ(1, probe.count(effEditOpen));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(kTestHostWindow), probe.calls().back().ptr);
}

TEST(GuiBridge, TheViewSizeIsTheEffectsRectangle)
{
    EditorSession editor;
    ASSERT_TRUE(editor.ready());
    const EditorProbe& probe = editor.probe;
    GuiInstance& gui = editor.gui;

    probe.supplyRectangle(ERect{0, 0, 300, 500});
    AAX_Point size{0.0f, 0.0f};
    ASSERT_EQ(AAX_SUCCESS, gui->GetViewSize(&size));
    EXPECT_EQ(500.0f, size.horz);
    EXPECT_EQ(300.0f, size.vert);

    probe.supplyRectangle(ERect{10, 20, 110, 420});
    ASSERT_EQ(AAX_SUCCESS, gui->GetViewSize(&size));
    EXPECT_EQ(400.0f, size.horz);
    EXPECT_EQ(100.0f, size.vert);
}

TEST(GuiBridge, AResizeRequestGivesOneSetViewSizeAndNoIdleOnThatTick)
{
    EditorSession editor;
    ASSERT_TRUE(editor.ready());
    const EditorProbe& probe = editor.probe;
    GuiInstance& gui = editor.gui;
    HostViewContainer* view = gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    ASSERT_NE(nullptr, view);

    EXPECT_EQ(AAX_SUCCESS, gui.Tick());
    EXPECT_EQ(1, probe.count(effEditIdle));
    EXPECT_TRUE(view->RequestedSizes().empty());

    probe.supplyRectangle(ERect{0, 0, 480, 640});
    EXPECT_EQ(1, probe.askForNewSize(640, 480));
    EXPECT_EQ(AAX_SUCCESS, gui.Tick());
    ASSERT_EQ(1u, view->RequestedSizes().size());
    EXPECT_EQ(640.0f, view->RequestedSizes()[0].horz);
    EXPECT_EQ(480.0f, view->RequestedSizes()[0].vert);
    EXPECT_EQ(1, probe.count(effEditIdle));

    EXPECT_EQ(AAX_SUCCESS, gui.Tick());
    EXPECT_EQ(2, probe.count(effEditIdle));
    EXPECT_EQ(1u, view->RequestedSizes().size());
}

TEST(GuiBridge, NoRectangleAndNoContainerAreAnsweredWithoutReadingThroughNull)
{
    EditorSession editor;
    ASSERT_TRUE(editor.ready());
    const EditorProbe& probe = editor.probe;
    GuiInstance& gui = editor.gui;

    probe.supplyNoRectangle();
    AAX_Point size{7.0f, 9.0f};
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, gui->GetViewSize(&size));
    EXPECT_EQ(7.0f, size.vert);
    EXPECT_EQ(9.0f, size.horz);
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, gui->GetViewSize(nullptr));

    // A resize asked for before the host gave a window: the tick takes it and calls nothing.
    probe.supplyRectangle(ERect{0, 0, 300, 500});
    probe.askForNewSize(500, 300);
    EXPECT_EQ(AAX_SUCCESS, gui.Tick());
    EXPECT_EQ(0, probe.count(effEditIdle));
    EXPECT_EQ(AAX_SUCCESS, gui.Tick());
    EXPECT_EQ(1, probe.count(effEditIdle));

    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, gui->SetControlHighlightInfo("0", 1, 0));
    EXPECT_EQ(AAX_SUCCESS, gui->ParameterUpdated("MasterBypassID"));
}

TEST(GuiBridge, WithoutAnEffectTheViewIsEmptyAndNothingIsCalled)
{
    PlugInSession session("");
    ASSERT_TRUE(session.scanned());
    DataModelInstance dataModel(session.host(), session.dataModelFactory());
    GuiInstance gui(session.host(), session.guiFactory(), &dataModel);
    ASSERT_EQ(AAX_SUCCESS, gui.InitializeResult());
    gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
    AAX_Point size{1.0f, 2.0f};
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, gui->GetViewSize(&size));
    EXPECT_EQ(AAX_SUCCESS, gui.Tick());
    EXPECT_EQ(AAX_SUCCESS, gui.DetachView());

    // A GUI whose host offers no data model.
    GuiInstance lonely(session.host(), session.guiFactory(), nullptr);
    EXPECT_EQ(AAX_SUCCESS, lonely.InitializeResult());
    EXPECT_EQ(AAX_SUCCESS, lonely.Tick());
    EXPECT_EQ(AAX_ERROR_NULL_OBJECT, lonely->GetViewSize(&size));
}

TEST(GuiBridge, TheEditorClosesOnDetachAndNotAgainAtDestruction)
{
    PlugInSession session(editorProbePath());
    ASSERT_TRUE(session.scanned());
    const EditorProbe probe(session.bundle());
    DataModelInstance dataModel(session.host(), session.dataModelFactory());
    {
        GuiInstance gui(session.host(), session.guiFactory(), &dataModel);
        gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);
        EXPECT_EQ(AAX_SUCCESS, gui.DetachView());
        EXPECT_EQ((std::vector<int32_t>{effEditOpen, effEditClose}), probe.opcodes());
    }
    EXPECT_EQ((std::vector<int32_t>{effEditOpen, effEditClose}), probe.opcodes());
}

TEST(GuiBridge, UninitializingTheGuiClosesTheEditorAndLetsTheDataModelGo)
{
    PlugInSession session(editorProbePath());
    ASSERT_TRUE(session.scanned());
    const EditorProbe probe(session.bundle());
    auto dataModel = std::make_unique<DataModelInstance>(session.host(), session.dataModelFactory());
    GuiInstance gui(session.host(), session.guiFactory(), dataModel.get());
    gui.AttachView(AAX_eViewContainer_Type_HWND, kTestHostWindow);

    // The host lets go of everything but the GUI object itself: the editor closes before the
    // effect, which goes with its data model.
    EXPECT_EQ(AAX_SUCCESS, gui.Uninitialize());
    dataModel.reset();
    EXPECT_EQ(1, session.liveObjects());
    EXPECT_EQ(AAX_SUCCESS, gui.Tick());
    EXPECT_EQ(0, probe.count(effEditIdle));

    gui.Release();
    EXPECT_EQ(0, session.liveObjects());
    EXPECT_EQ((std::vector<int32_t>{effEditOpen, effEditClose, effClose}), probe.opcodes());
}
