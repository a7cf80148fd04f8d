// The lines that describe a device's hardware resources, made from the
// configuration manager's descriptor bytes: a header followed by range
// entries, whose count follows from the data size and the entry size the
// header's type field gives. Pure, and it never reads past the size given,
// whatever the header claims.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sysinfo {

enum class ResourceKind { Memory, Ports, Dma, Interrupt };

// Header sizes of the descriptors (packed structures). The interrupt header
// ends with a processor mask as wide as a pointer of the process that asks.
constexpr size_t kMemoryHeaderSize = 32;
constexpr size_t kPortsHeaderSize = 28;
constexpr size_t kDmaHeaderSize = 16;
constexpr size_t kInterruptHeaderSize32 = 20;
constexpr size_t kInterruptHeaderSize64 = 24;

// The lines of a device's resources, in the order the memo shows them.
class ResourceListing {
public:
    explicit ResourceListing(size_t interruptHeaderSize = kInterruptHeaderSize32)
        : interruptHeaderSize_(interruptHeaderSize) {}

    // The first descriptor of a kind was found: writes the block's heading
    // (with the empty line that separates it from what is above).
    void beginBlock(ResourceKind kind);
    // One descriptor's data, after its block began.
    void addDescriptor(ResourceKind kind, const uint8_t* data, size_t size);
    // Whether any resource was found.
    bool found() const { return found_; }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    void separate();

    size_t interruptHeaderSize_;
    bool found_ = false;
    std::vector<std::string> lines_;
};

}  // namespace sysinfo
