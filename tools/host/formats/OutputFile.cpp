#include "tools/host/formats/OutputFile.h"

namespace ombrelhost
{

std::unique_ptr<juce::FileOutputStream> OutputFile::Open(const std::string& path, std::string& error)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(juce::String(path));
    if (file.isDirectory())
    {
        error = "cannot write " + path + ": it is a folder";
        return nullptr;
    }
    if (!file.getParentDirectory().isDirectory())
    {
        error = "cannot write " + path + ": its folder does not exist";
        return nullptr;
    }
    // FileOutputStream appends to an existing file; start from nothing.
    if (file.exists() && !file.deleteFile())
    {
        error = "cannot write " + path + ": the existing file cannot be replaced";
        return nullptr;
    }
    auto stream = std::make_unique<juce::FileOutputStream>(file);
    if (stream->failedToOpen())
    {
        error = "cannot write " + path + ": " + stream->getStatus().getErrorMessage().toStdString();
        return nullptr;
    }
    return stream;
}

} // namespace ombrelhost
