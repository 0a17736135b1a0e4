// Feeds arbitrary bytes to the reference host's state-file reader. A file it accepts must be the one
// encoding of what it read: encoding the decoded state gives a file of the same size that decodes
// to the same state. A file it refuses must say why.

#include "tests/fuzz/FuzzCheck.h"
#include "tools/host/formats/StateFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

using ombrelhost::SavedState;
using ombrelhost::StateFile;

// What a name becomes in a file: at most the field less its terminating zero.
std::string StoredName(const std::string& name)
{
    return name.substr(0, std::min(name.size(), StateFile::kNameBytes - 1));
}

bool SameState(const SavedState& a, const SavedState& b)
{
    if (a.manufacturerId != b.manufacturerId || a.productId != b.productId || a.plugInId != b.plugInId ||
        a.chunks.size() != b.chunks.size())
        return false;
    for (size_t i = 0; i < a.chunks.size(); ++i)
    {
        const auto& x = a.chunks[i];
        const auto& y = b.chunks[i];
        if (x.id != y.id || x.version != y.version || StoredName(x.name) != StoredName(y.name) ||
            x.data != y.data)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    SavedState state;
    std::string error;
    if (!StateFile::Decode(bytes, state, error))
    {
        OMBREL_FUZZ_CHECK(!error.empty());
        OMBREL_FUZZ_CHECK(state.chunks.empty() && state.plugInId == 0);
        return 0;
    }
    OMBREL_FUZZ_CHECK(state.chunks.size() <= StateFile::kMaximumChunks);
    const std::vector<uint8_t> encoded = StateFile::Encode(state);
    OMBREL_FUZZ_CHECK(encoded.size() == bytes.size());
    SavedState decoded;
    OMBREL_FUZZ_CHECK(StateFile::Decode(encoded, decoded, error));
    OMBREL_FUZZ_CHECK(SameState(state, decoded));
    OMBREL_FUZZ_CHECK(StateFile::Encode(decoded) == encoded);
    return 0;
}
