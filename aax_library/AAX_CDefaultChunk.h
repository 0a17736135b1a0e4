#pragma once
// The default chunk 'elck' ("Complete Controls State") of the effect-parameters base: every
// published parameter's value except the filtered identifiers, written and read through the chunk
// data parser, with the size handshake between the host's size query and its read. The parameters
// are visited in index order among the first `count` of the table (the base's parameter count).

#include "aax_library/AAX_CChunkDataParser.h"
#include "aax_library/AAX_Types.h"
#include "platform/NonCopyable.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>

class AAX_CParameterManager;
class AAX_IParameter;

class AAX_CDefaultChunk : private NonCopyable
{
public:
    // [host thread] Leaves identifier out of the chunk (inserting it twice changes nothing; null is
    // ignored).
    void Filter(AAX_CParamID identifier);
    // [host thread] How many identifiers are filtered.
    int32_t FilteredCount() const { return static_cast<int32_t>(mFilteredParameters.size()); }

    // [host thread] Fills the parser with every unfiltered parameter's value.
    void Build(const AAX_CParameterManager& parameters, int32_t count);
    // [host thread] Builds the chunk and answers its data size, which a following Write expects.
    AAX_Result Size(const AAX_CParameterManager& parameters, int32_t count, uint32_t* size);
    // [host thread] Builds the chunk again and writes it (version, name, data); answers
    // AAX_ERROR_INCORRECT_CHUNK_SIZE when no size was asked for or the parameters changed since.
    AAX_Result Write(const AAX_CParameterManager& parameters, int32_t count, AAX_SPlugInChunk* chunk);
    // [host thread] Loads chunk and sets every unfiltered parameter to its stored value of the
    // parameter's own kind; a value missing or stored with another type leaves the parameter.
    void Restore(AAX_CParameterManager& parameters, int32_t count, const AAX_SPlugInChunk* chunk);
    // [host thread] Loads chunk and answers whether every compared parameter holds its stored value.
    bool Matches(const AAX_CParameterManager& parameters, int32_t count, const AAX_SPlugInChunk* chunk);

    // [host thread] Loads chunk for StoredNumber.
    void Load(const AAX_SPlugInChunk* chunk);
    // [host thread] The loaded chunk's number for identifier: a double as it is, a 32-bit integer
    // widened (a two-state parameter's 0 or 1); false when there is none.
    bool StoredNumber(AAX_CParamID identifier, double* value);

private:
    enum class Match
    {
        Equal,
        Different,
        NotCompared
    };

    bool IsFiltered(AAX_CParamID identifier) const;
    // visit with every parameter the chunk holds, in index order, until visit answers false.
    template <typename Manager, typename Visit>
    void ForEachChunked(Manager& parameters, int32_t count, Visit&& visit) const;
    void RestoreParameter(AAX_IParameter& parameter);
    Match Compare(const AAX_IParameter& parameter);

    int32_t mChunkSize = 0;
    AAX_CChunkDataParser mChunkParser;
    std::set<std::string, std::less<>> mFilteredParameters;
};
