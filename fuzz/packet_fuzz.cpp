// Packets as they arrive from the support server: header, body and cipher.
#include <cstddef>
#include <cstdint>

#include "chat/packet_io.h"
#include "chat/tests/support/memory_channel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumonet;
    static const Bytes key = {'s', 'u', 'p', 'p', 'o', 'r', 't', '-', 'k', 'e', 'y'};
    MemoryChannel channel(Bytes(data, data + size), 7);
    ReadLimits limits;
    limits.headerWaitMs = 0;
    limits.bodyIdleMs = 0;
    for (int i = 0; i < 8; ++i) {
        Packet packet;
        const ReceiveStatus status = readPacket(channel, key, limits, packet);
        if (status == ReceiveStatus::ReadFailed) break;
        if (status == ReceiveStatus::Received) {
            if (packet.payload.size() > maxDataLength) __builtin_trap();
            payloadText(packet.payload);
        }
    }
    return 0;
}
