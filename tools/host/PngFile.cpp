#include "tools/host/PngFile.h"

namespace ombrelhost
{

bool PngFile::Write(const std::string& path, const juce::Image& image, std::string& error)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    if (file.isDirectory())
    {
        error = "cannot write " + path + ": it is a folder";
        return false;
    }
    if (!file.getParentDirectory().isDirectory())
    {
        error = "cannot write " + path + ": its folder does not exist";
        return false;
    }
    // FileOutputStream appends to an existing file; start from nothing.
    if (file.exists() && !file.deleteFile())
    {
        error = "cannot write " + path + ": the existing file cannot be replaced";
        return false;
    }
    juce::FileOutputStream stream(file);
    if (stream.failedToOpen())
    {
        error = "cannot write " + path + ": " + stream.getStatus().getErrorMessage().toStdString();
        return false;
    }
    juce::PNGImageFormat png;
    if (!png.writeImageToStream(image, stream))
    {
        error = "cannot write " + path + ": PNG encoding failed";
        return false;
    }
    stream.flush();
    if (stream.getStatus().failed())
    {
        error = "cannot write " + path + ": " + stream.getStatus().getErrorMessage().toStdString();
        return false;
    }
    return true;
}

} // namespace ombrelhost
