#include "tools/host/validate/SavedChunks.h"

namespace ombrelhost
{

bool SaveChunks(testhost::DataModelInstance& dataModel, Chunks& chunks, std::string& error)
{
    chunks.clear();
    for (AAX_CTypeID id : dataModel.ChunkIds())
    {
        testhost::SavedChunk chunk;
        if (const AAX_Result result = dataModel.GetChunk(id, &chunk))
        {
            error = "a chunk could not be saved (" + std::to_string(result) + ")";
            return false;
        }
        chunks.push_back(std::move(chunk));
    }
    return true;
}

} // namespace ombrelhost
