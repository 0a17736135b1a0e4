#pragma once
// A fresh folder of its own under the system's temporary folder (TMPDIR where set) for one test,
// removed with everything in it when the object goes.

#include "platform/NonCopyable.h"

#include <string>

class TemporaryFolder : private NonCopyable
{
public:
    // The folder's name starts with prefix and ends in random characters.
    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();

    const std::string& path() const { return folder; }

private:
    std::string folder;
};
