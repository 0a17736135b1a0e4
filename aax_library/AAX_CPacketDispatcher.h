#pragma once
// Carries parameter values from the data-model object to the processing side. Each packet belongs
// to one field of the processing context; parameter identifiers are bound to packets with a
// handler that fills them. An update marks the bound packets dirty; Dispatch fills every dirty
// packet and posts it to the host, which delivers it to the processing callback.

#include "aax_library/AAX_CMutex.h"
#include "aax_library/AAX_IPacketHandler.h"
#include "aax_library/AAX_Types.h"
#include "platform/NonCopyable.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class AAX_IController;
class AAX_IEffectParameters;

class AAX_CPacket
{
public:
    explicit AAX_CPacket(AAX_CFieldIndex fieldIndex)
        : mID(fieldIndex), mDirty(true), mDataSize(0), mData(kInitialStorageBytes, 0)
    {
    }

    // Storage for one value of type T: the data size becomes sizeof(T) and the buffer exactly that
    // long (new bytes are zero). Valid until the next call.
    template <typename T> T* GetPtr()
    {
        mDataSize = static_cast<uint32_t>(sizeof(T));
        mData.resize(sizeof(T), 0);
        return reinterpret_cast<T*>(mData.data());
    }

    const void* GetPtr() const { return mData.data(); }
    uint32_t GetSize() const { return mDataSize; }
    AAX_CFieldIndex GetID() const { return mID; }
    bool IsDirty() const { return mDirty; }
    void SetDirty(bool dirty) { mDirty = dirty; }

private:
    // Enough for any single value, so that typical packets never reallocate.
    static constexpr size_t kInitialStorageBytes = 8;

    AAX_CFieldIndex mID;
    bool mDirty;
    uint32_t mDataSize;
    std::vector<uint8_t> mData;
};

// A handler that calls a member function of a worker object: the form taking (identifier, packet)
// when set, else the form taking (packet).
template <typename TWorker> class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    using IdentifiedHandler = AAX_Result (TWorker::*)(AAX_CParamID, AAX_CPacket&);
    using PacketHandler = AAX_Result (TWorker::*)(AAX_CPacket&);

    AAX_CPacketHandler(TWorker* worker, IdentifiedHandler handler)
        : mWorker(worker), mIdentifiedHandler(handler)
    {
    }
    AAX_CPacketHandler(TWorker* worker, PacketHandler handler) : mWorker(worker), mPacketHandler(handler) {}

    AAX_CPacketHandler* Clone() const override { return new AAX_CPacketHandler(*this); }

    AAX_Result Call(AAX_CParamID parameterId, AAX_CPacket& packet) const override
    {
        if (mWorker == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        if (mIdentifiedHandler != nullptr)
            return (mWorker->*mIdentifiedHandler)(parameterId, packet);
        if (mPacketHandler != nullptr)
            return (mWorker->*mPacketHandler)(packet);
        return AAX_ERROR_NULL_OBJECT;
    }

private:
    TWorker* mWorker; // borrowed
    IdentifiedHandler mIdentifiedHandler = nullptr;
    PacketHandler mPacketHandler = nullptr;
};

class AAX_CPacketDispatcher : private NonCopyable
{
public:
    AAX_CPacketDispatcher();
    ~AAX_CPacketDispatcher();

    // [host thread] Both borrowed; the owner sets them at initialisation and clears them (null)
    // before the controller goes away.
    void Initialize(AAX_IController* controller, AAX_IEffectParameters* effectParameters);

    // [host thread] Binds parameterId to the packet of fieldIndex (made on first use, dirty) with a
    // clone of handler. A null identifier or handler registers nothing and answers an error.
    AAX_Result RegisterPacket(AAX_CParamID parameterId, AAX_CFieldIndex fieldIndex,
                              const AAX_IPacketHandler& handler);
    AAX_Result RegisterPacket(AAX_CParamID parameterId, AAX_CFieldIndex fieldIndex,
                              const AAX_IPacketHandler* handler);
    // [host thread] Binds parameterId to fieldIndex with the stock single-value handler.
    AAX_Result RegisterPacket(AAX_CParamID parameterId, AAX_CFieldIndex fieldIndex);

    // [any thread] Marks every packet bound to parameterId dirty; 0 also when none is.
    AAX_Result SetDirty(AAX_CParamID parameterId);

    // [host thread] Fills and posts every dirty packet once, in identifier order; the result of the
    // last post, or 0 when nothing was posted.
    AAX_Result Dispatch();

    // [host thread] The stock handler: the parameter's value as a 32-bit integer (bool), float,
    // 32-bit integer or double, in the processor's byte order. Runs inside Dispatch.
    AAX_Result GenerateSingleValuePacket(AAX_CParamID parameterId, AAX_CPacket& packet);

private:
    using HandlerEntry = std::pair<AAX_CPacket*, std::unique_ptr<AAX_IPacketHandler>>;

    std::map<AAX_CFieldIndex, std::unique_ptr<AAX_CPacket>> mPacketsHolder;
    // Several identifiers may feed one packet and one identifier several packets; entries of equal
    // identifiers stay in the order of registration.
    std::multimap<std::string, HandlerEntry, std::less<>> mPacketsHandlers;
    AAX_IController* mController = nullptr;             // borrowed
    AAX_IEffectParameters* mEffectParameters = nullptr; // borrowed: the owner
    AAX_CMutex mLockGuard;
};
