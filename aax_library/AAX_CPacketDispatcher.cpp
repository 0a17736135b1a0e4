#include "aax_library/AAX_CPacketDispatcher.h"

#include "aax_library/AAX_IController.h"
#include "aax_library/AAX_IEffectParameters.h"
#include "aax_library/AAX_IParameter.h"

#include <cstring>

AAX_CPacketDispatcher::AAX_CPacketDispatcher() = default;

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    // A dispatch on another thread finishes before the packets go.
    AAX_StLock_Guard guard(mLockGuard);
    mPacketsHandlers.clear();
    mPacketsHolder.clear();
}

void AAX_CPacketDispatcher::Initialize(AAX_IController* controller, AAX_IEffectParameters* effectParameters)
{
    AAX_StLock_Guard guard(mLockGuard);
    mController = controller;
    mEffectParameters = effectParameters;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID parameterId, AAX_CFieldIndex fieldIndex,
                                                 const AAX_IPacketHandler& handler)
{
    return RegisterPacket(parameterId, fieldIndex, &handler);
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID parameterId, AAX_CFieldIndex fieldIndex,
                                                 const AAX_IPacketHandler* handler)
{
    if (parameterId == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (handler == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    std::unique_ptr<AAX_IPacketHandler> clone(handler->Clone());
    if (!clone)
        return AAX_ERROR_NULL_OBJECT;

    AAX_StLock_Guard guard(mLockGuard);
    std::unique_ptr<AAX_CPacket>& packet = mPacketsHolder[fieldIndex];
    if (!packet)
        packet = std::make_unique<AAX_CPacket>(fieldIndex);
    mPacketsHandlers.emplace(std::string(parameterId), HandlerEntry(packet.get(), std::move(clone)));
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID parameterId, AAX_CFieldIndex fieldIndex)
{
    const AAX_CPacketHandler<AAX_CPacketDispatcher> handler(
        this, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
    return RegisterPacket(parameterId, fieldIndex, handler);
}

AAX_Result AAX_CPacketDispatcher::SetDirty(AAX_CParamID parameterId)
{
    if (parameterId == nullptr)
        return AAX_SUCCESS;
    AAX_StLock_Guard guard(mLockGuard);
    // Compared as a view of the caller's text: nothing is allocated while the lock is held.
    const auto range = mPacketsHandlers.equal_range(parameterId);
    for (auto it = range.first; it != range.second; ++it)
        it->second.first->SetDirty(true);
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::Dispatch()
{
    AAX_StLock_Guard guard(mLockGuard);
    AAX_Result result = AAX_SUCCESS;
    // Without a controller there is nowhere to post; dirty packets wait for one.
    if (mController == nullptr)
        return result;
    for (auto& [identifier, entry] : mPacketsHandlers)
    {
        AAX_CPacket& packet = *entry.first;
        if (!packet.IsDirty())
            continue;
        // Clean before the handler runs, so that a handler which updates its own parameter marks
        // the packet for the next dispatch rather than being lost.
        packet.SetDirty(false);
        if (entry.second->Call(identifier.c_str(), packet) == AAX_SUCCESS)
            result = mController->PostPacket(packet.GetID(), packet.GetPtr(), packet.GetSize());
    }
    return result;
}

AAX_Result AAX_CPacketDispatcher::GenerateSingleValuePacket(AAX_CParamID parameterId, AAX_CPacket& packet)
{
    if (mEffectParameters == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    AAX_IParameter* parameter = nullptr;
    if (mEffectParameters->GetParameter(parameterId, &parameter) != AAX_SUCCESS || parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    bool boolValue = false;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    double doubleValue = 0.0;
    if (parameter->GetValueAsBool(&boolValue))
    {
        const int32_t asInt = boolValue ? 1 : 0;
        std::memcpy(packet.GetPtr<int32_t>(), &asInt, sizeof asInt);
    }
    else if (parameter->GetValueAsFloat(&floatValue))
        std::memcpy(packet.GetPtr<float>(), &floatValue, sizeof floatValue);
    else if (parameter->GetValueAsInt32(&intValue))
        std::memcpy(packet.GetPtr<int32_t>(), &intValue, sizeof intValue);
    else if (parameter->GetValueAsDouble(&doubleValue))
        std::memcpy(packet.GetPtr<double>(), &doubleValue, sizeof doubleValue);
    else
        return AAX_ERROR_NULL_OBJECT;
    return AAX_SUCCESS;
}
