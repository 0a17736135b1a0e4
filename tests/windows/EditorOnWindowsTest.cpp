// The effect's editor on Windows, under Wine with a virtual display: the painting editor effect
// as the bundle's Ombrel.dll beside the built module, in a folder on drive C: of the Wine prefix.
// In this process the module's GUI object opens the editor as a real child window of a host
// window; as a user runs it, the reference host's `gui` shows and photographs it, and `validate`
// runs its editor group on it and on the example delay.

#include "aax_library/AAX_Enums.h"
#include "host_kit/DataModelInstance.h"
#include "host_kit/GuiInstance.h"
#include "host_kit/HostViewContainer.h"
#include "host_kit/MessagePump.h"
#include "host_kit/ModuleLoader.h"
#include "host_kit/Scan.h"
#include "host_kit/TestHost.h"
#include "tests/windows/PaintingEditorEffect.h"
#include "tests/windows/ProgramRun.h"
#include "tools/host/session/Win32EditorWindow.h"

#include <juce_graphics/juce_graphics.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

namespace
{

using namespace paintingeditor;

constexpr auto kProgramLimit = std::chrono::seconds(180);
constexpr auto kConditionLimit = std::chrono::seconds(20);
constexpr auto kTickPeriod = std::chrono::milliseconds(20);

std::string WindowsPath(const char* buildPath)
{
    return std::filesystem::absolute(buildPath).string();
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The first child window of parent with the painting editor's class, or null.
HWND EditorChildOf(HWND parent)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (std::wstring(name) == kEditorWindowClass)
            return child;
    }
    return nullptr;
}

SIZE ClientSize(HWND window)
{
    RECT client{0, 0, 0, 0};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

class WindowsEditor : public ::testing::Test
{
protected:
    std::string root;

    void SetUp() override
    {
        root = "C:\\ombrel-editor-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(root);
    }

    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    // ROOT\name\Plug-Ins\Ombrel.aaxplugin, a bundle with the built module and effect as its
    // Ombrel.dll; answers the bundle folder.
    std::string Bundle(const char* effect, const std::string& name) const
    {
        const std::string bundle = root + "\\" + name + "\\Plug-Ins\\Ombrel.aaxplugin";
        const std::string contents = bundle + "\\Contents\\x64";
        std::filesystem::create_directories(contents);
        std::filesystem::copy_file(OMBREL_WINDOWS_MODULE, contents + "\\Ombrel.aaxplugin");
        std::filesystem::copy_file(effect, contents + "\\Ombrel.dll");
        return bundle;
    }

    ProgramRun Host(const std::vector<std::string>& arguments) const
    {
        return RunProgram(WindowsPath(OMBREL_WINDOWS_HOST), arguments, root, kProgramLimit);
    }
};

// Drives one GUI object as a host does, on this thread: timer ticks to the GUI and the data model
// while the thread serves its messages, until the condition holds or the limit passes.
bool TickUntil(testhost::GuiInstance& gui, testhost::DataModelInstance& model,
               const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + kConditionLimit;
    while (!condition())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        gui.Tick();
        model->TimerWakeup();
        testhost::WaitServingMessages(kTickPeriod);
    }
    return true;
}

class WindowsEditorInProcess : public WindowsEditor
{
protected:
    void SetUp() override
    {
        WindowsEditor::SetUp();
        const std::string bundle = Bundle(OMBREL_WINDOWS_PAINTING_EFFECT, "InProcess");
        ASSERT_TRUE(loader.Load(bundle + "\\Contents\\x64\\Ombrel.aaxplugin")) << loader.Error();
        scan = testhost::Scan(loader, host);
        ASSERT_TRUE(scan.Succeeded());
        ASSERT_EQ(1u, scan.description.effects.size());
        std::string error;
        ASSERT_TRUE(window.Open("editor test", kOpenedWidth, kOpenedHeight, error)) << error;
        model = std::make_unique<testhost::DataModelInstance>(
            host, scan.description.effects[0].CreateProc(kAAX_ProcPtrID_Create_EffectParameters));
        ASSERT_TRUE(model->IsValid());
        gui = std::make_unique<testhost::GuiInstance>(
            host, scan.description.effects[0].CreateProc(kAAX_ProcPtrID_Create_EffectGUI), model.get());
        ASSERT_TRUE(gui->IsValid());
    }

    void TearDown() override
    {
        gui.reset();
        model.reset();
        window.Close();
        if (loader.IsLoaded())
        {
            testhost::Shutdown(loader, host);
            loader.Unload();
        }
        WindowsEditor::TearDown();
    }

    HWND HostWindow() const { return static_cast<HWND>(window.NativeHandle()); }

    testhost::TestHost host;
    testhost::ModuleLoader loader;
    testhost::ScanResult scan;
    ombrelhost::Win32EditorWindow window;
    std::unique_ptr<testhost::DataModelInstance> model;
    std::unique_ptr<testhost::GuiInstance> gui;
};

TEST_F(WindowsEditorInProcess, TheEditorIsAChildOfTheHostWindowFollowsItsResizeRequestAndCloses)
{
    AAX_Point size{0.0f, 0.0f};
    ASSERT_EQ(AAX_SUCCESS, (*gui)->GetViewSize(&size));
    EXPECT_EQ(static_cast<float>(kOpenedWidth), size.horz);
    EXPECT_EQ(static_cast<float>(kOpenedHeight), size.vert);

    testhost::HostViewContainer* view = gui->AttachView(AAX_eViewContainer_Type_HWND, window.NativeHandle());
    ASSERT_NE(nullptr, view);
    const HWND editor = EditorChildOf(HostWindow());
    ASSERT_NE(nullptr, editor) << "effEditOpen did not reach the effect with the host's window";
    EXPECT_EQ(HostWindow(), GetParent(editor));
    EXPECT_EQ(kOpenedWidth, ClientSize(editor).cx);
    EXPECT_EQ(kOpenedHeight, ClientSize(editor).cy);

    // The effect asks on its third idle call; the tick after the request resizes the view.
    ASSERT_TRUE(TickUntil(*gui, *model, [&] { return !view->RequestedSizes().empty(); }))
        << "no resize request reached the view container";
    for (int tick = 0; tick < kIdleCallsBeforeGrowing + 2; ++tick)
    {
        gui->Tick();
        testhost::WaitServingMessages(kTickPeriod);
    }
    const std::vector<AAX_Point> requested = view->RequestedSizes();
    ASSERT_EQ(1u, requested.size());
    EXPECT_EQ(static_cast<float>(kGrownWidth), requested[0].horz);
    EXPECT_EQ(static_cast<float>(kGrownHeight), requested[0].vert);
    EXPECT_EQ(kGrownWidth, ClientSize(editor).cx);
    EXPECT_EQ(kGrownHeight, ClientSize(editor).cy);

    // The editor window goes with the view, before the host's window does.
    ASSERT_EQ(AAX_SUCCESS, gui->DetachView());
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(nullptr, EditorChildOf(HostWindow()));

    // A second view in the same window opens the editor again.
    gui->AttachView(AAX_eViewContainer_Type_HWND, window.NativeHandle());
    EXPECT_NE(nullptr, EditorChildOf(HostWindow()));
    ASSERT_EQ(AAX_SUCCESS, gui->DetachView());
    EXPECT_EQ(nullptr, EditorChildOf(HostWindow()));
}

TEST_F(WindowsEditorInProcess, AContainerOfAnotherTypeOpensNoEditorWindow)
{
    for (int32_t type : {AAX_eViewContainer_Type_NSView, AAX_eViewContainer_Type_UIView})
    {
        SCOPED_TRACE(type);
        gui->AttachView(type, window.NativeHandle());
        EXPECT_EQ(nullptr, EditorChildOf(HostWindow()));
        ASSERT_EQ(AAX_SUCCESS, gui->DetachView());
    }
}

TEST_F(WindowsEditor, GuiScreenshotShowsTheEditorsColourAtTheSizeItAskedFor)
{
    const std::string bundle = Bundle(OMBREL_WINDOWS_PAINTING_EFFECT, "Painting");
    const std::string shot = root + "\\editor.png";
    const ProgramRun run = Host({"gui", bundle, "--seconds", "2", "--screenshot", shot});
    ASSERT_TRUE(run.finished && run.exitCode == 0) << run.Describe();
    EXPECT_TRUE(Contains(run.output, "in Win32 window 0x")) << run.output;
    EXPECT_TRUE(Contains(run.output, std::to_string(kOpenedWidth) + " x " + std::to_string(kOpenedHeight) +
                                         " (the editor's size)"))
        << run.output;
    EXPECT_TRUE(Contains(run.output, "resize   " + std::to_string(kGrownWidth) + " x " +
                                         std::to_string(kGrownHeight) + " (asked by the editor)"))
        << run.output;
    EXPECT_TRUE(Contains(run.output, ", 1 resize requests")) << run.output;

    const juce::Image image = juce::ImageFileFormat::loadFrom(juce::File(juce::String(shot)));
    ASSERT_TRUE(image.isValid()) << run.output;
    EXPECT_EQ(kGrownWidth, image.getWidth());
    EXPECT_EQ(kGrownHeight, image.getHeight());
    const juce::Colour expected(0xFF000000u | kEditorColour);
    int wrong = 0;
    std::string firstWrong;
    for (int y = 0; y < std::min(kGrownHeight, image.getHeight()); ++y)
        for (int x = 0; x < std::min(kGrownWidth, image.getWidth()); ++x)
        {
            const juce::Colour pixel = image.getPixelAt(x, y);
            if (pixel.getARGB() != expected.getARGB() && wrong++ == 0)
                firstWrong = std::to_string(x) + "," + std::to_string(y) + ": " +
                             pixel.toDisplayString(false).toStdString();
        }
    EXPECT_EQ(0, wrong) << "pixels not in the editor's colour " << expected.toDisplayString(false)
                        << ", the first " << firstWrong;
}

TEST_F(WindowsEditor, ValidatesEditorGroupPassesOnTheDelayAndOnThePaintingEffect)
{
    struct Case
    {
        const char* effect;
        const char* name;
        bool asksForResizes;
    };
    for (const Case& effect : {Case{OMBREL_WINDOWS_EXAMPLE_DELAY, "Delay", false},
                               Case{OMBREL_WINDOWS_PAINTING_EFFECT, "Painting", true}})
    {
        SCOPED_TRACE(effect.name);
        const std::string report = root + "\\" + effect.name + ".json";
        const ProgramRun run = Host({"validate", Bundle(effect.effect, effect.name), "--strictness", "1",
                                     "--layout", "stereo", "--json", report});
        EXPECT_TRUE(run.finished && run.exitCode == 0) << run.Describe();
        const std::string json = ReadText(report);
        EXPECT_TRUE(Contains(json,
                             "\"group\": \"editor\", \"name\": \"editor opened, idled, resized and closed\", "
                             "\"status\": \"PASS\""))
            << run.output;
        // Two cycles at strictness 1, each with the effect's one request.
        if (effect.asksForResizes)
        {
            EXPECT_TRUE(Contains(json, "2 times, 2 resize requests")) << json;
        }
    }
}

} // namespace
