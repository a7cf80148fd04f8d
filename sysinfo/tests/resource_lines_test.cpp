#include "sysinfo/resource_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

void put32(Bytes& b, size_t at, uint32_t v) {
    if (b.size() < at + 4) b.resize(at + 4);
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void put64(Bytes& b, size_t at, uint64_t v) {
    put32(b, at, static_cast<uint32_t>(v));
    put32(b, at + 4, static_cast<uint32_t>(v >> 32));
}

constexpr size_t kMemoryRange = 36;
constexpr size_t kPortRange = 40;
constexpr size_t kSmallRange = 12;

// A memory or port descriptor (the headers have the same first fields).
Bytes wideDescriptor(size_t header, size_t entrySize, uint64_t base, uint64_t end,
                     const std::vector<std::pair<uint64_t, uint64_t>>& ranges, uint32_t count = 0) {
    Bytes b(header + entrySize * ranges.size());
    put32(b, 0, count ? count : static_cast<uint32_t>(ranges.size()));
    put32(b, 4, static_cast<uint32_t>(entrySize));
    put64(b, 8, base);
    put64(b, 16, end);
    for (size_t i = 0; i < ranges.size(); ++i) {
        put64(b, header + i * entrySize + 12, ranges[i].first);
        put64(b, header + i * entrySize + 20, ranges[i].second);
    }
    return b;
}

Bytes smallDescriptor(size_t header, uint32_t allocated,
                      const std::vector<std::pair<uint32_t, uint32_t>>& ranges) {
    Bytes b(header + kSmallRange * ranges.size());
    put32(b, 0, static_cast<uint32_t>(ranges.size()));
    put32(b, 4, kSmallRange);
    put32(b, 12, allocated);
    for (size_t i = 0; i < ranges.size(); ++i) {
        put32(b, header + i * kSmallRange, ranges[i].first);
        put32(b, header + i * kSmallRange + 4, ranges[i].second);
    }
    return b;
}

void add(sysinfo::ResourceListing& listing, sysinfo::ResourceKind kind, const Bytes& b) {
    listing.addDescriptor(kind, b.data(), b.size());
}

TEST(ResourceLines, PortsThenAnInterruptAsTheDeviceWindowShowsThem) {
    sysinfo::ResourceListing listing;
    listing.beginBlock(sysinfo::ResourceKind::Ports);
    add(listing, sysinfo::ResourceKind::Ports,
        wideDescriptor(sysinfo::kPortsHeaderSize, kPortRange, 0x3F8, 0x3FF, {{0x3F8, 0x3FF}}));
    listing.beginBlock(sysinfo::ResourceKind::Interrupt);
    add(listing, sysinfo::ResourceKind::Interrupt,
        smallDescriptor(sysinfo::kInterruptHeaderSize32, 4, {{4, 4}}));
    EXPECT_TRUE(listing.found());
    EXPECT_EQ(listing.lines(), (Lines{"Ports:", "03F8 - 03FF", "03F8 - 03FF", "", "IRQ: 4"}));
}

TEST(ResourceLines, EachKindWithItsRangeRules) {
    sysinfo::ResourceListing listing(sysinfo::kInterruptHeaderSize64);
    listing.beginBlock(sysinfo::ResourceKind::Memory);
    // Only the low 32 bits show; ranges need both ends and min below max.
    add(listing, sysinfo::ResourceKind::Memory,
        wideDescriptor(sysinfo::kMemoryHeaderSize, kMemoryRange, 0x1FEBF0000ull, 0xFEBFFFFF,
                       {{0xA0000, 0xBFFFF}, {0, 0xBFFFF}, {0xC0000, 0xC0000}, {0xFFFF, 0x1000}}));
    add(listing, sysinfo::ResourceKind::Memory,
        wideDescriptor(sysinfo::kMemoryHeaderSize, kMemoryRange, 0xD0000, 0xDFFFF, {}));
    listing.beginBlock(sysinfo::ResourceKind::Dma);
    EXPECT_EQ(listing.lines().size(), 4u);  // no line of its own for the DMA block
    add(listing, sysinfo::ResourceKind::Dma,
        smallDescriptor(sysinfo::kDmaHeaderSize, 2, {{1, 3}, {0, 3}}));
    add(listing, sysinfo::ResourceKind::Dma, smallDescriptor(sysinfo::kDmaHeaderSize, 5, {}));
    listing.beginBlock(sysinfo::ResourceKind::Interrupt);
    add(listing, sysinfo::ResourceKind::Interrupt,
        smallDescriptor(sysinfo::kInterruptHeaderSize64, 11, {{9, 12}, {11, 15}, {3, 0}}));
    add(listing, sysinfo::ResourceKind::Interrupt,
        smallDescriptor(sysinfo::kInterruptHeaderSize64, 12, {}));
    EXPECT_EQ(listing.lines(), (Lines{"Memory:", "FEBF0000 - FEBFFFFF", "000A0000 - 000BFFFF",
                                      "000D0000 - 000DFFFF", "", "DMA Chan.: 2", "1 - 3", "",
                                      "DMA Chan.: 5", "", "IRQ: 11", "9 - 12", "IRQ: 12"}));
}

TEST(ResourceLines, NothingIsReadBeyondTheDataWhateverTheHeaderSays) {
    sysinfo::ResourceListing listing;
    listing.beginBlock(sysinfo::ResourceKind::Memory);
    // The count claims 1000 entries and the data holds one and a half: one
    // range line, from the bytes that are there.
    Bytes memory = wideDescriptor(sysinfo::kMemoryHeaderSize, kMemoryRange, 0x1000, 0x1FFF,
                                  {{0x2000, 0x2FFF}, {0x3000, 0x3FFF}}, 1000);
    memory.resize(sysinfo::kMemoryHeaderSize + kMemoryRange + kMemoryRange / 2);
    // Copied into storage of exactly that size, so that a read past it is
    // caught by the sanitizers.
    std::vector<uint8_t> exact(memory.begin(), memory.end());
    listing.addDescriptor(sysinfo::ResourceKind::Memory, exact.data(), exact.size());
    EXPECT_EQ(listing.lines(), (Lines{"Memory:", "00001000 - 00001FFF", "00002000 - 00002FFF"}));

    // An entry size of 0 or one too small for the fields gives no ranges;
    // data shorter than the header gives no line at all.
    Bytes zero = smallDescriptor(sysinfo::kDmaHeaderSize, 1, {{1, 2}});
    put32(zero, 4, 0);
    Bytes tiny = wideDescriptor(sysinfo::kPortsHeaderSize, kPortRange, 0x60, 0x64, {{0x60, 0x64}});
    put32(tiny, 4, 8);
    sysinfo::ResourceListing other;
    other.beginBlock(sysinfo::ResourceKind::Dma);
    add(other, sysinfo::ResourceKind::Dma, zero);
    other.beginBlock(sysinfo::ResourceKind::Ports);
    add(other, sysinfo::ResourceKind::Ports, tiny);
    other.addDescriptor(sysinfo::ResourceKind::Interrupt, tiny.data(),
                        sysinfo::kInterruptHeaderSize32 - 1);
    other.addDescriptor(sysinfo::ResourceKind::Interrupt, nullptr, 100);
    EXPECT_EQ(other.lines(), (Lines{"DMA Chan.: 1", "", "Ports:", "0060 - 0064"}));
}

TEST(ResourceLines, NoResourceIsNotFound) {
    sysinfo::ResourceListing listing;
    EXPECT_FALSE(listing.found());
    listing.beginBlock(sysinfo::ResourceKind::Dma);
    EXPECT_FALSE(listing.found());
    EXPECT_TRUE(listing.lines().empty());
}

}  // namespace
