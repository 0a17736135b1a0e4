#include "host_kit/DataModelInstance.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostAutomationDelegate.h"
#include "host_kit/HostController.h"
#include "host_kit/HostString.h"

#include <algorithm>
#include <cstring>

namespace testhost
{

namespace
{
// A chunk record as the host allocates it: header plus data, 8-byte aligned.
class ChunkRecord
{
public:
    explicit ChunkRecord(uint32_t dataSize) : mWords((AAX_SPlugInChunkHeaderSize + dataSize + 7) / 8 + 1, 0)
    {
    }
    // A record holding chunk's header fields and data, as the host hands it to the module.
    explicit ChunkRecord(const SavedChunk& chunk) : ChunkRecord(static_cast<uint32_t>(chunk.data.size()))
    {
        AAX_SPlugInChunk* header = Get();
        header->fSize = static_cast<int32_t>(chunk.data.size());
        header->fVersion = chunk.version;
        header->fChunkID = chunk.id;
        std::memcpy(header->fName, chunk.name.data(), std::min(chunk.name.size(), sizeof header->fName - 1));
        if (!chunk.data.empty())
            std::memcpy(reinterpret_cast<uint8_t*>(header) + AAX_SPlugInChunkHeaderSize, chunk.data.data(),
                        chunk.data.size());
    }
    AAX_SPlugInChunk* Get() { return reinterpret_cast<AAX_SPlugInChunk*>(mWords.data()); }

private:
    std::vector<uint64_t> mWords;
};
} // namespace

DataModelInstance::DataModelInstance(TestHost& host, AAX_CCreateProc create, bool initialize)
    : mHost(host), mController(host.NewController())
{
    Create(create, IID_IAAXEffectParametersV2);
    if (Get() == nullptr)
        return;
    mController->SetEffectParameters(Get());
    if (initialize)
        Initialize();
}

DataModelInstance::~DataModelInstance()
{
    if (IsInitialized())
        Uninitialize();
    Release();
}

AAX_Result DataModelInstance::Initialize()
{
    return ModuleObject::Initialize(mController);
}

void DataModelInstance::Release()
{
    if (Get() == nullptr)
        return;
    // The controller stops answering for the data model before its last host reference goes.
    mController->SetEffectParameters(nullptr);
    ModuleObject::Release();
}

std::vector<std::string> DataModelInstance::ParameterIds() const
{
    std::vector<std::string> ids;
    int32_t count = 0;
    if (Get() == nullptr || Get()->GetNumberOfParameters(&count) != AAX_SUCCESS)
        return ids;
    for (int32_t index = 0; index < count; ++index)
    {
        HostString id;
        if (Get()->GetParameterIDFromIndex(index, &id) == AAX_SUCCESS)
            ids.push_back(id.Text());
    }
    return ids;
}

std::vector<AAX_CTypeID> DataModelInstance::ChunkIds() const
{
    std::vector<AAX_CTypeID> ids;
    int32_t count = 0;
    if (Get() == nullptr || Get()->GetNumberOfChunks(&count) != AAX_SUCCESS)
        return ids;
    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CTypeID id = 0;
        if (Get()->GetChunkIDFromIndex(index, &id) == AAX_SUCCESS)
            ids.push_back(id);
    }
    return ids;
}

AAX_Result DataModelInstance::GetChunk(AAX_CTypeID id, SavedChunk* chunk) const
{
    if (Get() == nullptr || chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    uint32_t size = 0;
    if (AAX_Result result = Get()->GetChunkSize(id, &size))
        return result;
    ChunkRecord record(size);
    AAX_SPlugInChunk* header = record.Get();
    header->fSize = static_cast<int32_t>(size);
    header->fChunkID = id;
    if (AAX_Result result = Get()->GetChunk(id, header))
        return result;
    chunk->id = id;
    chunk->version = header->fVersion;
    chunk->name.assign(reinterpret_cast<const char*>(header->fName),
                       strnlen(reinterpret_cast<const char*>(header->fName), sizeof header->fName));
    // Never read past what the host allocated, whatever size the module wrote.
    const uint32_t written =
        static_cast<uint32_t>(std::clamp<int32_t>(header->fSize, 0, static_cast<int32_t>(size)));
    const auto* data = reinterpret_cast<const uint8_t*>(header) + AAX_SPlugInChunkHeaderSize;
    chunk->data.assign(data, data + written);
    return AAX_SUCCESS;
}

AAX_Result DataModelInstance::SetChunk(const SavedChunk& chunk) const
{
    if (Get() == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    ChunkRecord record(chunk);
    AAX_SPlugInChunk* header = record.Get();
    return Get()->SetChunk(chunk.id, header);
}

AAX_Result DataModelInstance::CompareActiveChunk(const SavedChunk& chunk, bool* equal) const
{
    if (Get() == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    ChunkRecord record(chunk);
    AAX_SPlugInChunk* header = record.Get();
    AAX_CBoolean same = 0;
    const AAX_Result result = Get()->CompareActiveChunk(header, &same);
    if (equal != nullptr)
        *equal = same != 0;
    return result;
}

int DataModelInstance::DeliverAutomation(int32_t source)
{
    return mController->AutomationDelegate()->DeliverSetValueRequests(Get(), source);
}

} // namespace testhost
