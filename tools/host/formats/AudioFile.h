#pragma once
// Reading and writing audio files through JUCE's audio-format classes.

#include <juce_audio_formats/juce_audio_formats.h>

#include <string>

namespace ombrelhost
{

struct AudioData
{
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;
    unsigned bitsPerSample = 0;
    bool floatingPoint = false;
};

class AudioFile
{
public:
    // Reads a whole WAV (or AIFF) file. On failure returns false with the reason in error.
    static bool Read(const std::string& path, AudioData& data, std::string& error);

    // Writes a WAV file, replacing any file at path: 16 or 24 bits integer, or 32 bits float.
    static bool Write(const std::string& path, const juce::AudioBuffer<float>& samples, double sampleRate,
                      int bitsPerSample, std::string& error);

    // The largest file Read accepts, in samples per channel: an hour at 192 kHz.
    static constexpr juce::int64 kMaximumLength = 192000LL * 3600;
};

} // namespace ombrelhost
