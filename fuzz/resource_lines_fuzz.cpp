// Device resource descriptors as the configuration manager hands them over:
// the first byte picks the kind, the rest is the descriptor.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sysinfo/resource_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const auto kind = static_cast<sysinfo::ResourceKind>(data[0] & 3);
    sysinfo::ResourceListing listing((data[0] & 4) ? sysinfo::kInterruptHeaderSize64
                                                   : sysinfo::kInterruptHeaderSize32);
    listing.beginBlock(kind);
    // A copy of exactly the descriptor's size, so that a read past it is seen.
    std::vector<uint8_t> descriptor(data + 1, data + size);
    listing.addDescriptor(kind, descriptor.data(), descriptor.size());
    return 0;
}
