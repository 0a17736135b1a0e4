// `gui MODULE`: the effect's own editor in a native window, driven by the host timer, with an
// optional screenshot.

#include "tools/host/commands/GuiCommand.h"
#include "tools/host/reports/QuotedText.h"
#include "tools/host/formats/PngFile.h"
#include "tools/host/session/X11EditorWindow.h"
#include "host_kit/HostViewContainer.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <thread>

namespace ombrelhost
{

namespace
{

constexpr double kGuiSampleRate = 48000.0;
constexpr auto kTimerPeriod = std::chrono::milliseconds(40);
constexpr double kDefaultScreenshotSeconds = 2.0;
constexpr double kMaximumSeconds = 24.0 * 3600.0;
constexpr int kFallbackWidth = 400;
constexpr int kFallbackHeight = 300;

juce::Image ToImage(const CapturedPixels& pixels, size_t& colours)
{
    juce::Image image(juce::Image::RGB, pixels.width, pixels.height, false);
    std::set<uint32_t> distinct;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
        {
            const uint32_t argb = pixels.argb[static_cast<size_t>(y) * static_cast<size_t>(pixels.width) +
                                              static_cast<size_t>(x)];
            distinct.insert(argb);
            image.setPixelAt(x, y, juce::Colour(argb));
        }
    colours = distinct.size();
    return image;
}

} // namespace

int RunGui(const GuiOptions& options)
{
    std::string error;
    const InstanceRequest& request = options.request;
    const std::string& screenshotPath = options.screenshotPath;
    const double seconds = options.seconds > 0.0    ? std::min(options.seconds, kMaximumSeconds)
                           : screenshotPath.empty() ? 0.0
                                                    : kDefaultScreenshotSeconds;
    if (!screenshotPath.empty() && !CheckOutputPath(screenshotPath, error))
        return Fail(error);
    // Said before anything is loaded: without a display there is nothing to show.
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return Fail("no X display: DISPLAY is not set (run it in a desktop session, or under xvfb-run)");

    CommandInstance instance;
    if (!OpenInstance(instance, options.module, request, kGuiSampleRate, error))
        return Fail(error);
    testhost::GuiInstance* gui = instance.session.NewGui(*instance.dataModel, error);
    if (gui == nullptr)
        return Fail(error);

    AAX_Point size{0.0f, 0.0f};
    const AAX_Result sizeResult = (*gui)->GetViewSize(&size);
    const bool sized = sizeResult == AAX_SUCCESS && size.horz >= 1.0f && size.vert >= 1.0f;
    const int width = sized ? static_cast<int>(size.horz) : kFallbackWidth;
    const int height = sized ? static_cast<int>(size.vert) : kFallbackHeight;

    X11EditorWindow window;
    if (!window.Open("ombrel-host: " + instance.session.EffectName(), width, height, error))
        return Fail(error);
    std::printf("editor   %s in X11 window 0x%lx, %d x %d %s\n",
                QuotedText(instance.session.EffectName()).c_str(), window.WindowId(), width, height,
                sized ? "(the editor's size)" : "(the effect reports no editor size)");
    std::fflush(stdout);

    testhost::HostViewContainer* view = gui->AttachView(AAX_eViewContainer_Type_HWND, window.NativeHandle());
    size_t resizes = 0;
    const auto start = std::chrono::steady_clock::now();
    auto nextTick = start;
    bool closedByUser = false;
    while (true)
    {
        if (!window.ProcessEvents())
        {
            closedByUser = true;
            break;
        }
        gui->Tick();
        (*instance.dataModel)->TimerWakeup();
        if (view != nullptr)
        {
            const std::vector<AAX_Point> requested = view->RequestedSizes();
            if (requested.size() > resizes)
            {
                resizes = requested.size();
                const AAX_Point& last = requested.back();
                window.Resize(static_cast<int>(last.horz), static_cast<int>(last.vert));
                std::printf("resize   %d x %d (asked by the editor)\n", window.Width(), window.Height());
                std::fflush(stdout);
            }
        }
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds > 0.0 && elapsed >= seconds)
            break;
        nextTick += kTimerPeriod;
        std::this_thread::sleep_until(nextTick);
    }
    const double ran = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    int status = kExitSuccess;
    if (!screenshotPath.empty())
    {
        CapturedPixels pixels;
        size_t colours = 0;
        if (closedByUser)
            status = Fail("the window was closed before the screenshot");
        else if (!window.Capture(pixels, error))
            status = Fail("no screenshot: " + error);
        else if (!PngFile::Write(screenshotPath, ToImage(pixels, colours), error))
            status = Fail(error);
        else
            std::printf("shot     %s: %d x %d, %zu colours%s\n", screenshotPath.c_str(), pixels.width,
                        pixels.height, colours, colours <= 1 ? " (blank: the editor drew nothing)" : "");
    }
    // The editor closes before its parent window goes.
    gui->DetachView();
    window.Close();
    std::printf("ran      %.1f s, %zu resize requests%s\n", ran, resizes,
                closedByUser ? ", closed by the user" : "");
    return status;
}

} // namespace ombrelhost
