#include "path_store.h"

#include <cstring>

namespace sysrepair {

namespace {

uint64_t hashText(std::string_view text) {
    uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    // FNV's low bits are weak for near-identical texts; mix the high ones in.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}

// `text` holds no zero byte, so the comparison stops at the stored text's end.
bool equals(const char* stored, std::string_view text) {
    return std::strncmp(stored, text.data(), text.size()) == 0 && stored[text.size()] == '\0';
}

uint64_t slotValue(std::size_t index, uint64_t hash) {
    return (hash & 0xffffffff00000000ull) | static_cast<uint32_t>(index + 1);
}

std::size_t entryOf(uint64_t slot) {
    return static_cast<uint32_t>(slot) - 1;
}

}  // namespace

char* PathStore::place(std::string_view text) {
    std::size_t need = text.size() + 1;
    if (need > blockFree) {
        std::size_t size = need > kBlockSize ? need : kBlockSize;
        blocks.emplace_back(new char[size]);
        blockEnd = blocks.back().get();
        blockFree = size;
        blockBytes += size;
    }
    char* stored = blockEnd;
    std::memcpy(stored, text.data(), text.size());
    stored[text.size()] = '\0';
    blockEnd += need;
    blockFree -= need;
    return stored;
}

void PathStore::add(std::string_view text) {
    std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    // An entry index + 1 must fit a slot; four thousand million paths do not
    // fit in memory anyway.
    if (entries.size() >= UINT32_MAX - 1) return;
    // Grow at 70% load so that probe runs stay short for misses.
    if ((entries.size() + 1) * 10 > slots.size() * 7) growIndex();
    uint64_t hash = hashText(text);
    std::size_t slot = findSlot(text, hash);
    entries.push_back(place(text));
    // A repeated text keeps its first entry in the index; the list keeps both.
    if (slots[slot] == 0) slots[slot] = slotValue(entries.size() - 1, hash);
}

std::size_t PathStore::findSlot(std::string_view text, uint64_t hash) const {
    std::size_t mask = slots.size() - 1;
    const uint64_t tag = hash & 0xffffffff00000000ull;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        uint64_t value = slots[slot];
        if (value == 0) return slot;
        if ((value & 0xffffffff00000000ull) == tag && equals(entries[entryOf(value)], text)) {
            return slot;
        }
    }
}

void PathStore::growIndex() {
    std::size_t count = slots.empty() ? 1024 : slots.size() * 2;
    slots.assign(count, 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string_view text(entries[i]);
        uint64_t hash = hashText(text);
        // Only the first of equal texts is indexed, as in add().
        std::size_t slot = findSlot(text, hash);
        if (slots[slot] == 0) slots[slot] = slotValue(i, hash);
    }
}

bool PathStore::contains(std::string_view text) const {
    if (entries.empty() || text.find('\0') != std::string_view::npos) return false;
    return slots[findSlot(text, hashText(text))] != 0;
}

void PathStore::clear() {
    std::vector<std::unique_ptr<char[]>>().swap(blocks);
    std::vector<const char*>().swap(entries);
    std::vector<uint64_t>().swap(slots);
    blockFree = 0;
    blockEnd = nullptr;
    blockBytes = 0;
}

std::size_t PathStore::memoryBytes() const {
    return blockBytes + blocks.capacity() * sizeof(blocks[0]) +
           entries.capacity() * sizeof(entries[0]) + slots.capacity() * sizeof(slots[0]);
}

}  // namespace sysrepair
