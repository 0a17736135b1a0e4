#include "tests/support/TemporaryFolder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TemporaryFolder::TemporaryFolder(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder for " + prefix);
    folder = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    // A sanitizer symbolizes a report from a loaded library's file on disk, found by the path it was
    // loaded from, also for a library later loaded at the same address: sanitizer runs keep every
    // copy (in a temporary folder of their own) so that each report names the library's functions.
    if (std::getenv("OMBREL_KEEP_TEST_BUNDLES") != nullptr)
        return;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
