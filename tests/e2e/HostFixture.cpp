#include "HostFixture.h"

#include "tests/support/BundleLayout.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

namespace e2e
{

namespace fs = std::filesystem;

Environment CrashesReachTheValidator()
{
#if defined(__SANITIZE_ADDRESS__)
    const char* options = std::getenv("ASAN_OPTIONS");
    std::string value = options != nullptr ? options : "";
    value += std::string(value.empty() ? "" : ":") + "handle_segv=0";
    return {{"ASAN_OPTIONS", value}};
#else
    return {};
#endif
}

RunResult HostFixture::Host(const std::vector<std::string>& arguments, const Environment& environment) const
{
    std::vector<std::string> argv = {OMBREL_HOST_BINARY};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunProgram(argv, mFolder, environment);
}

std::string HostFixture::DelayBundle()
{
    return OMBREL_E2E_BUNDLE;
}

bool HostFixture::IemAvailable()
{
    return fs::exists(OMBREL_E2E_IEM_EFFECT);
}

std::string HostFixture::BundleWith(const std::string& effectLibrary, const std::string& folderName) const
{
    const fs::path bundle = fs::path(mFolder) / folderName / "Ombrel.aaxplugin";
    layOutBundle((fs::path(mFolder) / folderName / kBundleBinaryFolder).string(), OMBREL_E2E_MODULE,
                 effectLibrary);
    return bundle.string();
}

std::string HostFixture::Clicks(const std::string& name, int channels, double seconds, double every) const
{
    const RunResult run =
        Host({"generate", name, "--signal", "clicks", "--channels", std::to_string(channels), "--seconds",
              std::to_string(seconds), "--every", std::to_string(every), "--bits", "32"});
    EXPECT_TRUE(run.Exited() && run.exitCode == 0) << run.Describe();
    return PathTo(name);
}

juce::AudioBuffer<float> HostFixture::ReadAudio(const std::string& path, double* sampleRate)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(juce::File(path)));
    juce::AudioBuffer<float> buffer;
    if (reader == nullptr)
    {
        ADD_FAILURE() << "cannot read " << path;
        return buffer;
    }
    buffer.setSize(static_cast<int>(reader->numChannels), static_cast<int>(reader->lengthInSamples));
    reader->read(&buffer, 0, buffer.getNumSamples(), 0, true, true);
    if (sampleRate != nullptr)
        *sampleRate = reader->sampleRate;
    return buffer;
}

juce::Image HostFixture::ReadImage(const std::string& path)
{
    juce::Image image = juce::ImageFileFormat::loadFrom(juce::File(path));
    if (!image.isValid())
        ADD_FAILURE() << "cannot read the image " << path;
    return image;
}

size_t HostFixture::ColourCount(const juce::Image& image)
{
    std::set<juce::uint32> colours;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            colours.insert(image.getPixelAt(x, y).getARGB());
    return colours.size();
}

std::vector<uint8_t> HostFixture::ReadBytes(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

void HostFixture::WriteAudio(const std::string& path, const juce::AudioBuffer<float>& samples)
{
    juce::WavAudioFormat wav;
    const juce::File file(path);
    file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream>(file);
    std::unique_ptr<juce::AudioFormatWriter> writer(
        wav.createWriterFor(stream.get(), kRate, static_cast<unsigned>(samples.getNumChannels()), 32, {}, 0));
    if (writer == nullptr)
    {
        ADD_FAILURE() << "cannot write " << path;
        return;
    }
    stream.release();
    if (!writer->writeFromAudioSampleBuffer(samples, 0, samples.getNumSamples()))
        ADD_FAILURE() << "cannot write " << path;
}

void HostFixture::WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace e2e
