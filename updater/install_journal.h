// The record of an install in progress, kept in the install folder while
// files are backed up and replaced, so that the next start of the updater
// can finish or undo an install that was cut off. Pure.
//
//   Mendora update journal 1
//   phase preparing|replacing
//   file<TAB>ENCODED<TAB>LOCAL<TAB>OLD-BUILD<TAB>NEW-BUILD<TAB>SIZE<TAB>SHA256
#pragma once

#include <string>
#include <vector>

namespace updater {

struct JournalFile {
    std::string encodedName;  // its Update and Backup key value, its "backup" copy
    std::string localName;    // the downloaded file in "updates"
    std::string oldBuild;
    std::string newBuild;
    unsigned long long size = 0;
    std::string sha256;  // of the new build
};

struct InstallJournal {
    // Preparing: backups and staged copies are being made, nothing is
    // replaced yet (an install cut off here is undone). Replacing: every new
    // file is staged beside its target (an install cut off here is finished).
    enum class Phase { Preparing, Replacing };
    Phase phase = Phase::Preparing;
    std::vector<JournalFile> files;
};

// Whether a text can stand in a journal field (no tab, no line break, no
// other control character).
bool fitsJournal(const std::string& text);

std::string formatJournal(const InstallJournal& journal);
// False for a text that is not a whole journal.
bool parseJournal(const std::string& text, InstallJournal& journal);

}  // namespace updater
