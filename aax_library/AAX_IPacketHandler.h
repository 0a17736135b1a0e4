#pragma once
// Fills a data packet for the processing side from the parameter it is bound to.

#include "aax_library/AAX_Types.h"

class AAX_CPacket;

class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;
    // A new copy; the caller owns it.
    virtual AAX_IPacketHandler* Clone() const = 0;
    // [host thread] under the dispatcher's lock; 0 when the packet is filled and may be posted.
    virtual AAX_Result Call(AAX_CParamID parameterId, AAX_CPacket& packet) const = 0;
};
