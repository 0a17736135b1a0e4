// The reference host's editor window under a virtual X server, with the example delay and with a
// real third-party effect's editor.

#include "HostFixture.h"

#include <string>

namespace e2e
{
namespace
{

// The host on a virtual screen of its own, where Xvfb is installed. The server picks its display
// number itself, so tests running side by side never meet on one screen.
class Gui : public HostFixture
{
protected:
    void SetUp() override
    {
        if (FindOnPath("Xvfb").empty())
            GTEST_SKIP() << "Xvfb is not installed";
    }

    // Shows the bundle's editor for the seconds, then saves a screenshot of the window to a file.
    RunResult ShowEditor(const std::string& bundle, const char* seconds, const std::string& screenshot) const
    {
        return RunProgram({OMBREL_E2E_WITH_DISPLAY, OMBREL_HOST_BINARY, "gui", bundle, "--seconds", seconds,
                           "--screenshot", screenshot},
                          Folder());
    }

    RunResult Validate(const std::string& bundle) const
    {
        return RunProgram({OMBREL_E2E_WITH_DISPLAY, OMBREL_HOST_BINARY, "validate", bundle, "--strictness", "1",
                           "--layout", "stereo"},
                          Folder());
    }
};

TEST_F(Gui, TheDelayEditorOpensAtTheSizeTheEffectReports)
{
    const RunResult run = ShowEditor(DelayBundle(), "1", "delay.png");
    EXPECT_EXIT_CODE(run, 0);
    EXPECT_NE(run.out.find("500 x 300 (the editor's size)"), std::string::npos) << run.Describe();
    const juce::Image shot = ReadImage(PathTo("delay.png"));
    EXPECT_EQ(shot.getWidth(), 500);
    EXPECT_EQ(shot.getHeight(), 300);
}

TEST_F(Gui, TheWindowFollowsTheEditorsRequestForANewSize)
{
    const RunResult run = ShowEditor(BundleWith(OMBREL_E2E_RESIZING_EFFECT, "Resizing"), "1.5", "grown.png");
    EXPECT_EXIT_CODE(run, 0);
    EXPECT_NE(run.out.find("200 x 120 (the editor's size)"), std::string::npos) << run.Describe();
    EXPECT_NE(run.out.find("resize   640 x 480 (asked by the editor)"), std::string::npos) << run.Describe();
    EXPECT_NE(run.out.find("1 resize requests"), std::string::npos) << run.Describe();
    const juce::Image shot = ReadImage(PathTo("grown.png"));
    EXPECT_EQ(shot.getWidth(), 640);
    EXPECT_EQ(shot.getHeight(), 480);
}

TEST_F(Gui, ValidatesEditorGroupFollowsTheResizeRequestOfEveryCycle)
{
    const RunResult run = Validate(BundleWith(OMBREL_E2E_RESIZING_EFFECT, "Resizing"));
    EXPECT_NE(run.out.find("PASS  editor opened, idled, resized and closed"), std::string::npos) << run.Describe();
    // Two cycles at strictness 1; the editor asks once after each opening.
    EXPECT_NE(run.out.find("2 times, 2 resize requests"), std::string::npos) << run.Describe();
}

TEST_F(Gui, ARealThirdPartyEditorIsDrawnIntoTheHostWindow)
{
    if (!IemAvailable())
        GTEST_SKIP() << "IEM's DualDelay is not installed";
    const RunResult run = ShowEditor(IemBundle(), "3", "iem.png");
    EXPECT_EXIT_CODE(run, 0);
    const juce::Image shot = ReadImage(PathTo("iem.png"));
    ASSERT_TRUE(shot.isValid());
    EXPECT_GT(shot.getWidth(), 100);
    EXPECT_GT(shot.getHeight(), 100);
    // Drawn, not one flat colour: an editor has text, knobs and edges.
    EXPECT_GT(ColourCount(shot), 50u) << run.Describe();
}

} // namespace
} // namespace e2e
