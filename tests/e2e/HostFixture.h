#pragma once
// What every end-to-end test shares: a fresh temporary folder, the built host and bundles, and
// readers for the files the host writes.

#include "HostRun.h"
#include "tests/support/TemporaryFolder.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace e2e
{

// A whole text file (empty when it cannot be read), and whether a text holds a part.
std::string ReadText(const std::string& path);
inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class HostFixture : public ::testing::Test
{
protected:
    // The test's own folder and a path inside it.
    const std::string& Folder() const { return mFolder; }
    std::string PathTo(const std::string& name) const { return mFolder + "/" + name; }

    // Runs ombrel-host with the arguments in the test's folder.
    RunResult Host(const std::vector<std::string>& arguments, const Environment& environment = {}) const;

    // The bundle the build lays out (the module with the example delay beside it).
    static std::string DelayBundle();
    // A bundle in the test's folder holding the built module and the effect library as Ombrel.dll.
    std::string BundleWith(const std::string& effectLibrary, const std::string& folderName) const;
    // The same with IEM's DualDelay.
    std::string IemBundle() const { return BundleWith(OMBREL_E2E_IEM_EFFECT, "Iem"); }
    static bool IemAvailable();

    // A file of test clicks made by the host itself (32-bit float, 48 kHz).
    std::string Clicks(const std::string& name, int channels, double seconds, double every) const;

    // The whole file as floats; fails the test when it cannot be read.
    static juce::AudioBuffer<float> ReadAudio(const std::string& path, double* sampleRate = nullptr);
    // The buffer as a 32-bit float WAV file at kRate; fails the test when it cannot be written.
    static void WriteAudio(const std::string& path, const juce::AudioBuffer<float>& samples);
    static juce::Image ReadImage(const std::string& path);
    // Number of distinct colours in an image.
    static size_t ColourCount(const juce::Image& image);
    static std::vector<uint8_t> ReadBytes(const std::string& path);
    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);


    static constexpr double kRate = 48000.0;

private:
    TemporaryFolder mTemporaryFolder{"ombrel-e2e"};
    const std::string& mFolder = mTemporaryFolder.path();
};

// The environment under which a crashing effect's signal ends the host's child process: under the
// address sanitizer, the sanitizer's own handler would catch the fault and end the child with a
// report and an exit status, while a user's build sees the signal itself.
Environment CrashesReachTheValidator();

// A finished run that ended by exiting (not by a signal or the time limit) with the code.
#define EXPECT_EXIT_CODE(run, code)                                                                          \
    do                                                                                                       \
    {                                                                                                        \
        const ::e2e::RunResult& run_ = (run);                                                                \
        EXPECT_TRUE(run_.Exited()) << run_.Describe();                                                       \
        EXPECT_EQ(run_.exitCode, (code)) << run_.Describe();                                                 \
    } while (false)

} // namespace e2e
