#include "updater/publisher_keys.h"

// Written by updater/CMakeLists.txt from updater/keys/*.pub: one
// {"name", "64 hex digits"} entry per trusted key.
#include "publisher_key_list.h"

namespace updater {

const std::vector<PublisherKey>& publisherKeys() {
    static const std::vector<PublisherKey> keys = [] {
        struct Listed {
            const char* name;
            const char* hex;
        };
        static const Listed listed[] = {MENDORA_PUBLISHER_KEYS};
        std::vector<PublisherKey> out;
        for (const Listed& entry : listed) {
            PublisherKey key;
            key.name = entry.name;
            if (fromHex(entry.hex, key.key.data(), key.key.size())) out.push_back(key);
        }
        return out;
    }();
    return keys;
}

}  // namespace updater
