// The chat client's details file as read from disk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "chat/client/client_details.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace chatclient;
    ClientDetails details;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!decodeClientDetails(bytes, details)) return 0;
    // What loads can be written back, and the file written loads. (The texts
    // themselves need not come back: the file separates them by spaces, so
    // an empty text or one with spaces reads differently.)
    const std::string written = encodeClientDetails(details);
    if (written.empty() || static_cast<uint8_t>(written[0]) % 8 != 0) __builtin_trap();
    ClientDetails again;
    if (!decodeClientDetails(written, again)) __builtin_trap();
    return 0;
}
