#pragma once
// One data-model object of the module, made and driven as an AAX host does: the factory's create
// procedure, a query for the data-model interface, Initialize with a controller of this host.
// Gives everything back on destruction (Uninitialize, then its reference).

#include "aax_library/host/AAX_IACFEffectParameters.h"
#include "host_kit/ModuleObject.h"
#include "host_kit/TestHost.h"

#include <string>
#include <vector>

namespace testhost
{

class HostController;

// A chunk as the host stores it: the header fields that matter and the data bytes.
struct SavedChunk
{
    AAX_CTypeID id = 0;
    int32_t version = 0;
    std::string name;
    std::vector<uint8_t> data;
};

class DataModelInstance : public ModuleObject<AAX_IACFEffectParameters_V2>
{
public:
    // A null create procedure, a null object or a declined query leave the instance invalid.
    DataModelInstance(TestHost& host, AAX_CCreateProc create, bool initialize = true);
    ~DataModelInstance();

    // The object handed to Initialize; it also answers the GUI's query for this data model.
    HostController* Controller() const { return mController; }

    // [host thread] explicit steps for tests of the life cycle (Uninitialize is the object's own).
    AAX_Result Initialize();
    // Gives the host's reference back now; the instance is invalid afterwards.
    void Release();

    // [host thread] conveniences over the interface.
    std::vector<std::string> ParameterIds() const;
    std::vector<AAX_CTypeID> ChunkIds() const;
    // GetChunkSize then GetChunk into a host-allocated record; the first failure is returned.
    AAX_Result GetChunk(AAX_CTypeID id, SavedChunk* chunk) const;
    AAX_Result SetChunk(const SavedChunk& chunk) const;
    AAX_Result CompareActiveChunk(const SavedChunk& chunk, bool* equal) const;
    // Hands the automation delegate's pending set-value requests back to this data model.
    int DeliverAutomation(int32_t source = 0);

private:
    [[maybe_unused]] TestHost& mHost;
    HostController* mController;
};

} // namespace testhost
