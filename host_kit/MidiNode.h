#pragma once
// The host's MIDI input node: what context field 4 points to. The test puts packets in before a
// block; the module reads them through GetNodeBuffer on the audio thread.

#include "aax_library/host/AAX_IMIDINode.h"
#include "platform/NonCopyable.h"

#include <atomic>
#include <initializer_list>
#include <vector>

namespace testhost
{

class MidiNode final : public AAX_IMIDINode, private NonCopyable
{
public:
    MidiNode() = default;
    ~MidiNode() = default;

    // [audio thread] allocates nothing.
    AAX_CMidiStream* GetNodeBuffer() override;

    // [between blocks] the packets of the next block.
    void SetPackets(std::vector<AAX_CMidiPacket> packets);
    void Clear() { SetPackets({}); }
    int BufferRequests() const { return mRequests.load(); }

    // A packet of up to four data bytes at a sample offset.
    static AAX_CMidiPacket Packet(uint32_t timestamp, std::initializer_list<uint8_t> bytes);

private:
    std::vector<AAX_CMidiPacket> mPackets;
    AAX_CMidiStream mStream{0, nullptr};
    std::atomic<int> mRequests{0};
};

} // namespace testhost
