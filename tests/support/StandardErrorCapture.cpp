#include "tests/support/StandardErrorCapture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

StandardErrorCapture::StandardErrorCapture()
{
    const char* folder = std::getenv("TMPDIR");
    std::string pattern =
        std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/ombrel-stderr-XXXXXX";
    const int capture = mkstemp(pattern.data());
    if (capture < 0)
        throw std::runtime_error("cannot create a file for standard error");
    file = pattern;
    std::fflush(stderr);
    savedDescriptor = dup(STDERR_FILENO);
    dup2(capture, STDERR_FILENO);
    close(capture);
}

StandardErrorCapture::~StandardErrorCapture()
{
    if (!finished)
        finish();
    std::remove(file.c_str());
}

std::string StandardErrorCapture::finish()
{
    if (!finished)
    {
        std::fflush(stderr);
        dup2(savedDescriptor, STDERR_FILENO);
        close(savedDescriptor);
        finished = true;
    }
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}
