#pragma once
// Every chunk of an instance, saved as a host saves them with its project.

#include "host_kit/DataModelInstance.h"

#include <string>
#include <vector>

namespace ombrelhost
{

using Chunks = std::vector<testhost::SavedChunk>;

// [host thread] False with a reason when a chunk could not be saved.
bool SaveChunks(testhost::DataModelInstance& dataModel, Chunks& chunks, std::string& error);

} // namespace ombrelhost
