// The server's hello record.
#include <cstddef>
#include <cstdint>

#include "chat/hello_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumonet;
    if (size < helloSize) return 0;
    const HelloRecord theirs = decodeHello(data);
    uint8_t ours[helloSize];
    encodeHello(HelloRecord(), ours);
    // Agrees with ours exactly when the bytes do, and reads back as it came.
    const bool same = helloDifference(HelloRecord(), theirs).empty();
    bool sameBytes = true;
    for (size_t i = 0; i < helloSize; ++i) sameBytes = sameBytes && ours[i] == data[i];
    if (same != sameBytes) __builtin_trap();
    uint8_t again[helloSize];
    encodeHello(theirs, again);
    for (size_t i = 0; i < helloSize; ++i)
        if (again[i] != data[i]) __builtin_trap();
    return 0;
}
