// An append-only list of path texts with an exact-match index, sized by the
// text it holds: the texts sit end to end in large blocks, and the list and
// the index hold one pointer and one 64-bit slot share per text.
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
    // cut there.
    void add(std::string_view text);
    std::size_t size() const { return entries.size(); }
    // The i-th text added; i must be below size().
    std::string_view at(std::size_t i) const { return entries[i]; }
    // Whether a text equal to `text` (same bytes) was added.
    bool contains(std::string_view text) const;
    void clear();

    // Heap bytes held: blocks, the list and the index.
    std::size_t memoryBytes() const;

private:
    char* place(std::string_view text);
    void growIndex();
    // Slot of `text`, or of the empty slot where it would go.
    std::size_t findSlot(std::string_view text, uint64_t hash) const;

    static constexpr std::size_t kBlockSize = 1 << 20;

    std::vector<std::unique_ptr<char[]>> blocks;
    std::size_t blockFree = 0;  // bytes left in the last block
    char* blockEnd = nullptr;   // first free byte of the last block
    std::size_t blockBytes = 0;
    // Zero-terminated texts, in the order added.
    std::vector<const char*> entries;
    // Open addressing, linear probing. A slot holds entry index + 1 in its low
    // half (0 for an empty slot) and the high half of the text's hash in its
    // high half, so that a probe past other texts rarely reads them. The slot
    // count is a power of two.
    std::vector<uint64_t> slots;
};

}  // namespace sysrepair
