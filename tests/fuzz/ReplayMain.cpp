// Runs a fuzz target's inputs through it outside libFuzzer, so that the normal build replays every
// kept input (the seeds and each input that once found a fault) through the same code. Arguments:
// files, or folders whose files are all replayed. Exit status 0 when every input went through.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace
{

bool Replay(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // An allocation of exactly the input's size, as libFuzzer hands it over.
    std::unique_ptr<uint8_t[]> data(new uint8_t[contents.size()]);
    std::copy(contents.begin(), contents.end(), data.get());
    std::printf("replaying %s (%zu bytes)\n", path.c_str(), contents.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(data.get(), contents.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize != nullptr)
        LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i)
    {
        const std::filesystem::path argument(argv[i]);
        if (std::filesystem::is_directory(argument))
        {
            for (const auto& entry : std::filesystem::directory_iterator(argument))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        }
        else
        {
            inputs.push_back(argument);
        }
    }
    if (inputs.empty())
    {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    bool allRead = true;
    for (const auto& input : inputs)
        allRead = Replay(input) && allRead;
    std::printf("%zu inputs replayed\n", inputs.size());
    return allRead ? 0 : 1;
}
