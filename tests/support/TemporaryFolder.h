#pragma once
// A fresh folder of its own under the system's temporary folder (TMPDIR where set) for one test,
// removed with everything in it when the object goes.

#include <string>

class TemporaryFolder
{
public:
    // The folder's name starts with prefix and ends in random characters.
    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return folder; }

private:
    std::string folder;
};
