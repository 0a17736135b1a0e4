#pragma once
// Opens a file for writing from scratch, with a reason a user can act on when it cannot be.

#include <juce_core/juce_core.h>

#include <memory>
#include <string>

namespace ombrelhost
{

class OutputFile
{
public:
    // A stream on path (relative to the working folder) that replaces any file there; null with a
    // reason in error when the path is a folder, its folder is missing, or the file cannot be
    // replaced or opened.
    static std::unique_ptr<juce::FileOutputStream> Open(const std::string& path, std::string& error);
};

} // namespace ombrelhost
