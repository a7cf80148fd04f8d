// The updater's record of an install in progress, as read at its next start.
#include <cstddef>
#include <cstdint>
#include <string>

#include "updater/install_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    updater::InstallJournal journal;
    if (!updater::parseJournal(text, journal)) return 0;
    // What was read writes back as the same journal.
    updater::InstallJournal again;
    if (!updater::parseJournal(updater::formatJournal(journal), again) ||
        again.files.size() != journal.files.size())
        __builtin_trap();
    for (size_t i = 0; i < journal.files.size(); ++i)
        if (again.files[i].encodedName != journal.files[i].encodedName ||
            again.files[i].size != journal.files[i].size)
            __builtin_trap();
    return 0;
}
