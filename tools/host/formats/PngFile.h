#pragma once
// Writes an image as a PNG file through JUCE's image-format classes.

#include <juce_graphics/juce_graphics.h>

#include <string>

namespace ombrelhost
{

class PngFile
{
public:
    // Replaces any file at path. False with a reason on failure.
    static bool Write(const std::string& path, const juce::Image& image, std::string& error);
};

} // namespace ombrelhost
