#pragma once
// The values a saved 'elck' chunk (the published parameters' values) holds, read back the way a
// host's session would carry them: entries by key ("d_1", "l_0"), each value of its own type. Reads
// only within the chunk's bytes; a damaged tail just ends the entries.

#include "host_kit/DataModelInstance.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ControlsChunk
{
public:
    explicit ControlsChunk(const testhost::SavedChunk& chunk);

    // True when the chunk began with the format's marker and every entry could be read.
    bool readWhole() const { return whole; }
    // The value of the entry for a published identifier, saved as a double ("d_" + id) or as an
    // int32 ("l_" + id); false when there is no such entry.
    bool doubleValue(const std::string& id, double* value) const;
    bool int32Value(const std::string& id, int32_t* value) const;

private:
    bool whole = false;
    std::map<std::string, std::vector<uint8_t>> entries;
};
