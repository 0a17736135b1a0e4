#pragma once
// The host's MIDI node, reached raw through context field 4 (a null field means no MIDI). It is not
// a component interface: one virtual operation, no reference counting.

#include "aax_library/AAX_Types.h"

class AAX_IMIDINode
{
public:
    // [audio thread] the node's packets for the current block (the host's).
    virtual AAX_CMidiStream* GetNodeBuffer() = 0;

protected:
    ~AAX_IMIDINode() = default;
};
