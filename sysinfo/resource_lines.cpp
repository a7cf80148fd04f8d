#include "sysinfo/resource_lines.h"

#include <cstdio>

namespace sysinfo {

namespace {

// Where the fields are, within the packed structures.
constexpr size_t kAllocBaseOffset = 8;   // memory and ports header
constexpr size_t kAllocEndOffset = 16;   // memory and ports header
constexpr size_t kTypeOffset = 4;        // every header: the size of one range entry
constexpr size_t kAllocatedOffset = 12;  // DMA channel, interrupt number
constexpr size_t kRangeMinOffset = 12;   // memory and port range
constexpr size_t kRangeMaxOffset = 20;   // memory and port range
constexpr size_t kSmallRangeEnd = 8;     // DMA and interrupt range: min at 0, max at 4

uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t read64(const uint8_t* p) {
    return static_cast<uint64_t>(read32(p)) | static_cast<uint64_t>(read32(p + 4)) << 32;
}

std::string hexRange(uint64_t low, uint64_t high, int digits) {
    char text[48];
    std::snprintf(text, sizeof text, "%0*X - %0*X", digits, static_cast<unsigned>(low & 0xFFFFFFFF),
                  digits, static_cast<unsigned>(high & 0xFFFFFFFF));
    return text;
}

std::string decimalRange(uint32_t low, uint32_t high) {
    return std::to_string(low) + " - " + std::to_string(high);
}

// Calls visit(entry) for each whole range entry that lies inside the data,
// when entries are at least minEntrySize bytes.
template <typename Visit>
void forEachRange(const uint8_t* data, size_t size, size_t headerSize, size_t minEntrySize,
                  Visit visit) {
    const size_t entrySize = read32(data + kTypeOffset);
    if (entrySize < minEntrySize || size <= headerSize) return;
    const size_t count = (size - headerSize) / entrySize;
    for (size_t i = 0; i < count; ++i) visit(data + headerSize + i * entrySize);
}

}  // namespace

void ResourceListing::separate() {
    if (!lines_.empty()) lines_.push_back("");
}

void ResourceListing::beginBlock(ResourceKind kind) {
    switch (kind) {
        case ResourceKind::Memory:
            found_ = true;
            lines_.push_back("Memory:");
            break;
        case ResourceKind::Ports:
            found_ = true;
            separate();
            lines_.push_back("Ports:");
            break;
        case ResourceKind::Interrupt:
            found_ = true;
            separate();
            break;
        case ResourceKind::Dma:  // found once its first line is written
            break;
    }
}

void ResourceListing::addDescriptor(ResourceKind kind, const uint8_t* data, size_t size) {
    if (!data) return;
    switch (kind) {
        case ResourceKind::Memory:
        case ResourceKind::Ports: {
            const size_t header =
                kind == ResourceKind::Memory ? kMemoryHeaderSize : kPortsHeaderSize;
            const int digits = kind == ResourceKind::Memory ? 8 : 4;
            if (size < header) return;
            lines_.push_back(
                hexRange(read64(data + kAllocBaseOffset), read64(data + kAllocEndOffset), digits));
            forEachRange(data, size, header, kRangeMaxOffset + 8, [&](const uint8_t* range) {
                const uint64_t min = read64(range + kRangeMinOffset);
                const uint64_t max = read64(range + kRangeMaxOffset);
                if (min != 0 && max != 0 && (min & 0xFFFFFFFF) < (max & 0xFFFFFFFF))
                    lines_.push_back(hexRange(min, max, digits));
            });
            break;
        }
        case ResourceKind::Dma: {
            if (size < kDmaHeaderSize) return;
            separate();
            found_ = true;
            lines_.push_back("DMA Chan.: " + std::to_string(read32(data + kAllocatedOffset)));
            forEachRange(data, size, kDmaHeaderSize, kSmallRangeEnd, [&](const uint8_t* range) {
                const uint32_t min = read32(range);
                const uint32_t max = read32(range + 4);
                if (min != 0 && max != 0) lines_.push_back(decimalRange(min, max));
            });
            break;
        }
        case ResourceKind::Interrupt: {
            if (size < interruptHeaderSize_) return;
            const uint32_t allocated = read32(data + kAllocatedOffset);
            lines_.push_back("IRQ: " + std::to_string(allocated));
            forEachRange(data, size, interruptHeaderSize_, kSmallRangeEnd,
                         [&](const uint8_t* range) {
                             const uint32_t min = read32(range);
                             const uint32_t max = read32(range + 4);
                             if (min != 0 && max != 0 && min != allocated && max != allocated)
                                 lines_.push_back(decimalRange(min, max));
                         });
            break;
        }
    }
}

}  // namespace sysinfo
