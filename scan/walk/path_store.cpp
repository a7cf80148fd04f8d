#include "scan/walk/path_store.h"

#include <cstring>

#include "common/text_hash.h"

namespace sysrepair {

namespace {

constexpr uint64_t kTagMask = 0xffffffff00000000ull;

uint64_t hashText(std::string_view text) {
    win::TextHash hash;
    hash.add(text.data(), text.size());
    return hash.value();
}

// `text` holds no zero byte, so the comparison stops at the stored text's end.
bool equals(const char* stored, std::string_view text) {
    return std::strncmp(stored, text.data(), text.size()) == 0 && stored[text.size()] == '\0';
}

uint64_t slotValue(uint32_t position, uint64_t hash) {
    return (hash & kTagMask) | (position + 1ull);
}

uint32_t positionOf(uint64_t slot) {
    return static_cast<uint32_t>(slot) - 1;
}

}  // namespace

bool PathStore::place(std::string_view text, uint32_t* position) {
    const std::size_t need = text.size() + 1;
    if (need > blockFree) {
        const std::size_t spans = (need + kBlockSize - 1) / kBlockSize;
        if (spans > kMaxBlocks - blocks.size()) return false;
        const std::size_t size = spans == 1 ? kBlockSize : need;
        currentBlock = blocks.size();
        blocks.emplace_back(new char[size]);
        blocks.resize(currentBlock + spans);
        blockUsed = 0;
        blockFree = size;
        blockBytes += size;
    }
    char* stored = blocks[currentBlock].get() + blockUsed;
    std::memcpy(stored, text.data(), text.size());
    stored[text.size()] = '\0';
    *position = static_cast<uint32_t>((currentBlock << kBlockBits) | blockUsed);
    blockUsed += need;
    blockFree -= need;
    return true;
}

bool PathStore::add(std::string_view text) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    // Grow at 70% load so that probe runs stay short for misses.
    if ((entries.size() + 1) * 10 > slots.size() * 7) growIndex();
    const uint64_t hash = hashText(text);
    const std::size_t slot = findSlot(text, hash);
    uint32_t position = 0;
    if (!place(text, &position)) return false;
    entries.push_back(position);
    // A repeated text keeps its first entry in the index; the list keeps both.
    if (slots[slot] == 0) slots[slot] = slotValue(position, hash);
    return true;
}

std::size_t PathStore::findSlot(std::string_view text, uint64_t hash) const {
    const std::size_t mask = slots.size() - 1;
    const uint64_t tag = hash & kTagMask;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const uint64_t value = slots[slot];
        if (value == 0) return slot;
        if ((value & kTagMask) == tag && equals(textAt(positionOf(value)), text)) return slot;
    }
}

void PathStore::growIndex() {
    slots.assign(slots.empty() ? 1024 : slots.size() * 2, 0);
    for (uint32_t position : entries) {
        const std::string_view text(textAt(position));
        const uint64_t hash = hashText(text);
        // Only the first of equal texts is indexed, as in add().
        const std::size_t slot = findSlot(text, hash);
        if (slots[slot] == 0) slots[slot] = slotValue(position, hash);
    }
}

bool PathStore::contains(std::string_view text) const {
    if (entries.empty() || text.find('\0') != std::string_view::npos) return false;
    return slots[findSlot(text, hashText(text))] != 0;
}

void PathStore::clear() {
    std::vector<std::unique_ptr<char[]>>().swap(blocks);
    std::vector<uint32_t>().swap(entries);
    std::vector<uint64_t>().swap(slots);
    currentBlock = 0;
    blockUsed = 0;
    blockFree = 0;
    blockBytes = 0;
}

std::size_t PathStore::memoryBytes() const {
    return blockBytes + blocks.capacity() * sizeof(blocks[0]) +
           entries.capacity() * sizeof(entries[0]) + slots.capacity() * sizeof(slots[0]);
}

}  // namespace sysrepair
