// An append-only list of path texts with an exact-match index, sized by the
// text it holds: the texts sit end to end in large blocks, the list holds a
// 32-bit position per text and the index a 64-bit slot share per text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sysrepair {

class PathStore {
public:
    PathStore() = default;
    PathStore(const PathStore&) = delete;
    PathStore& operator=(const PathStore&) = delete;

    // Texts must not contain a zero byte (no path does); one that does is
    // cut there. False, with nothing added, when the store is full (4 GB of
    // text).
    bool add(std::string_view text);
    std::size_t size() const { return entries.size(); }
    // The i-th text added; i must be below size().
    std::string_view at(std::size_t i) const { return textAt(entries[i]); }
    // Whether a text equal to `text` (same bytes) was added.
    bool contains(std::string_view text) const;
    void clear();

    // Heap bytes held: blocks, the list and the index.
    std::size_t memoryBytes() const;

private:
    // A text's position: block number in the high bits, offset in the low.
    static constexpr unsigned kBlockBits = 20;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;
    // Positions + 1 must fit 32 bits.
    static constexpr std::size_t kMaxBlocks = (std::size_t(1) << (32 - kBlockBits)) - 1;

    const char* textAt(uint32_t position) const {
        return blocks[position >> kBlockBits].get() + (position & (kBlockSize - 1));
    }
    bool place(std::string_view text, uint32_t* position);
    void growIndex();
    // Slot of `text`, or of the empty slot where it would go.
    std::size_t findSlot(std::string_view text, uint64_t hash) const;

    // A text longer than a block gets a block of its own that takes the
    // numbers of as many blocks as it spans (the later ones stay empty).
    std::vector<std::unique_ptr<char[]>> blocks;
    std::size_t currentBlock = 0;  // the block that new texts go into
    std::size_t blockUsed = 0;     // bytes used in it
    std::size_t blockFree = 0;     // bytes left in it
    std::size_t blockBytes = 0;
    // Positions of zero-terminated texts, in the order added.
    std::vector<uint32_t> entries;
    // Open addressing, linear probing. A slot holds a text's position + 1 in
    // its low half (0 for an empty slot) and the high half of the text's hash
    // in its high half, so that a probe past other texts rarely reads them.
    // The slot count is a power of two.
    std::vector<uint64_t> slots;
};

}  // namespace sysrepair
