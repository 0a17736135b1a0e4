#include "tools/host/formats/PngFile.h"

#include "tools/host/formats/OutputFile.h"

namespace ombrelhost
{

bool PngFile::Write(const std::string& path, const juce::Image& image, std::string& error)
{
    std::unique_ptr<juce::FileOutputStream> stream = OutputFile::Open(path, error);
    if (stream == nullptr)
        return false;
    juce::PNGImageFormat png;
    if (!png.writeImageToStream(image, *stream))
    {
        error = "cannot write " + path + ": PNG encoding failed";
        return false;
    }
    stream->flush();
    if (stream->getStatus().failed())
    {
        error = "cannot write " + path + ": " + stream->getStatus().getErrorMessage().toStdString();
        return false;
    }
    return true;
}

} // namespace ombrelhost
