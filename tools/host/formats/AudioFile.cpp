#include "tools/host/formats/AudioFile.h"

#include "tools/host/formats/OutputFile.h"

#include <memory>

namespace ombrelhost
{

bool AudioFile::Read(const std::string& path, AudioData& data, std::string& error)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    if (!file.existsAsFile())
    {
        error = "cannot read " + path + ": no such file";
        return false;
    }
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(file));
    if (reader == nullptr)
    {
        error = "cannot read " + path + ": not a WAV or AIFF file this host can decode";
        return false;
    }
    if (reader->numChannels < 1 || reader->sampleRate < 1000.0 || reader->sampleRate > 768000.0)
    {
        error = "cannot read " + path + ": it reports " + std::to_string(reader->numChannels) +
                " channels at " + std::to_string(reader->sampleRate) + " Hz";
        return false;
    }
    if (reader->lengthInSamples <= 0)
    {
        error = "cannot read " + path + ": it holds no samples";
        return false;
    }
    if (reader->lengthInSamples > kMaximumLength || reader->numChannels > 64)
    {
        error = "cannot read " + path + ": too long for this host (at most an hour at 192 kHz)";
        return false;
    }
    const int length = static_cast<int>(reader->lengthInSamples);
    const int channels = static_cast<int>(reader->numChannels);
    data.samples.setSize(channels, length);
    if (!reader->read(&data.samples, 0, length, 0, true, true))
    {
        error = "cannot read " + path + ": its sample data is damaged or cut short";
        return false;
    }
    data.sampleRate = reader->sampleRate;
    data.bitsPerSample = reader->bitsPerSample;
    data.floatingPoint = reader->usesFloatingPointData;
    return true;
}

bool AudioFile::Write(const std::string& path, const juce::AudioBuffer<float>& samples, double sampleRate,
                      int bitsPerSample, std::string& error)
{
    std::unique_ptr<juce::FileOutputStream> stream = OutputFile::Open(path, error);
    if (stream == nullptr)
        return false;
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer(wav.createWriterFor(
        stream.get(), sampleRate, static_cast<unsigned>(samples.getNumChannels()), bitsPerSample, {}, 0));
    if (writer == nullptr)
    {
        error = "cannot write " + path + ": WAV does not take " + std::to_string(samples.getNumChannels()) +
                " channels of " + std::to_string(bitsPerSample) + " bits";
        return false;
    }
    stream.release(); // the writer owns the stream now
    if (!writer->writeFromAudioSampleBuffer(samples, 0, samples.getNumSamples()))
    {
        error = "cannot write " + path + ": writing failed (disk full?)";
        return false;
    }
    writer.reset(); // completes the header
    return true;
}

} // namespace ombrelhost
