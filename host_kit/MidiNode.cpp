#include "host_kit/MidiNode.h"

namespace testhost
{

AAX_CMidiStream* MidiNode::GetNodeBuffer()
{
    ++mRequests;
    return &mStream;
}

void MidiNode::SetPackets(std::vector<AAX_CMidiPacket> packets)
{
    mPackets = std::move(packets);
    mStream.mBufferSize = static_cast<uint32_t>(mPackets.size());
    mStream.mBuffer = mPackets.empty() ? nullptr : mPackets.data();
}

AAX_CMidiPacket MidiNode::Packet(uint32_t timestamp, std::initializer_list<uint8_t> bytes)
{
    AAX_CMidiPacket packet{};
    packet.mTimestamp = timestamp;
    uint32_t length = 0;
    for (uint8_t byte : bytes)
        if (length < sizeof packet.mData)
            packet.mData[length++] = byte;
    packet.mLength = length;
    return packet;
}

} // namespace testhost
