// The reference host's editor window under a virtual X server, with the example delay and with a
// real third-party effect's editor.

#include "HostFixture.h"

#include <string>

#include <unistd.h>

namespace e2e
{
namespace
{

// The host on a virtual screen of its own, where xvfb-run is installed. -a picks a free display
// number, but two runs that start together both see the same one free and one of them loses it:
// each test process starts its search from a number of its own.
class Gui : public HostFixture
{
protected:
    void SetUp() override
    {
        xvfbRun = FindOnPath("xvfb-run");
        if (xvfbRun.empty())
            GTEST_SKIP() << "xvfb-run is not installed";
    }

    // Shows the bundle's editor for the seconds, then saves a screenshot of the window to a file.
    RunResult ShowEditor(const std::string& bundle, const char* seconds, const std::string& screenshot) const
    {
        return RunProgram({xvfbRun, "-a", "-n", FirstDisplay(), "-s", "-screen 0 1280x1024x24",
                           OMBREL_HOST_BINARY, "gui", bundle, "--seconds", seconds, "--screenshot",
                           screenshot},
                          Folder());
    }

    // validate under the same virtual screen. On a machine running other virtual screens at the
    // same moment, the editor group's child now and then finds the screen gone before it opens its
    // window ("cannot open the X display"): that run says nothing of the editor, so it is run
    // again on a fresh screen, a few times at most.
    RunResult Validate(const std::string& bundle) const
    {
        RunResult run;
        for (int attempt = 0; attempt < 3; ++attempt)
        {
            run = RunProgram({xvfbRun, "-a", "-n", FirstDisplay(), "-s", "-screen 0 1280x1024x24",
                              OMBREL_HOST_BINARY, "validate", bundle, "--strictness", "1", "--layout",
                              "stereo"},
                             Folder());
            if (run.out.find("cannot open the X display") == std::string::npos)
                break;
        }
        return run;
    }

private:
    static std::string FirstDisplay() { return std::to_string(100 + getpid() % 800); }

    std::string xvfbRun;
};

TEST_F(Gui, TheDelayEditorOpensAtTheSizeTheEffectReports)
{
    const RunResult run = ShowEditor(DelayBundle(), "1", "delay.png");
    EXPECT_EXIT_CODE(run, 0);
    EXPECT_NE(run.out.find("500 x 300 (the editor's size)"), std::string::npos) << run.out;
    const juce::Image shot = ReadImage(PathTo("delay.png"));
    EXPECT_EQ(shot.getWidth(), 500);
    EXPECT_EQ(shot.getHeight(), 300);
}

TEST_F(Gui, TheWindowFollowsTheEditorsRequestForANewSize)
{
    const RunResult run = ShowEditor(BundleWith(OMBREL_E2E_RESIZING_EFFECT, "Resizing"), "1.5", "grown.png");
    EXPECT_EXIT_CODE(run, 0);
    EXPECT_NE(run.out.find("200 x 120 (the editor's size)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("resize   640 x 480 (asked by the editor)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 resize requests"), std::string::npos) << run.out;
    const juce::Image shot = ReadImage(PathTo("grown.png"));
    EXPECT_EQ(shot.getWidth(), 640);
    EXPECT_EQ(shot.getHeight(), 480);
}

TEST_F(Gui, ValidatesEditorGroupFollowsTheResizeRequestOfEveryCycle)
{
    const RunResult run = Validate(BundleWith(OMBREL_E2E_RESIZING_EFFECT, "Resizing"));
    EXPECT_NE(run.out.find("PASS  editor opened, idled, resized and closed"), std::string::npos) << run.out;
    // Two cycles at strictness 1; the editor asks once after each opening.
    EXPECT_NE(run.out.find("2 times, 2 resize requests"), std::string::npos) << run.out;
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
    EXPECT_GT(ColourCount(shot), 50u) << run.out;
}

} // namespace
} // namespace e2e
