#include "updater/install_transaction.h"

#include <windows.h>

#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "updater/file_name_code.h"
#include "updater/file_replace.h"
#include "updater/update_install.h"

namespace updater {

namespace {

std::string targetOf(const JournalFile& file) {
    return installFolder() + decodeFileName(file.encodedName);
}

std::string downloadOf(const JournalFile& file) {
    return updatesFolder() + file.localName;
}

bool writeJournal(const InstallJournal& journal) {
    return writeFileAtomically(journalPath(), formatJournal(journal));
}

bool readJournal(InstallJournal& journal, bool& present) {
    present = false;
    win::FileHandle file(CreateFileA(journalPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    present = true;
    LARGE_INTEGER size = {};
    // A journal is a few lines per file: anything large is not one.
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1 << 20)) return false;
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text.empty() &&
        (!ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &got, nullptr) ||
         got != text.size()))
        return false;
    return parseJournal(text, journal);
}

// The replacement step of a journal whose files are all staged: each staged
// copy that is still the signed file takes its target's place; each target
// that holds its new build is recorded. Safe to run again after a cut.
void replaceStaged(UpdateView& window, const InstallJournal& journal,
                   std::vector<bool>& installed) {
    installed.assign(journal.files.size(), false);
    for (size_t i = 0; i < journal.files.size(); ++i) {
        const JournalFile& file = journal.files[i];
        const std::string target = targetOf(file);
        const std::string staged = stagedName(target);
        if (GetFileAttributesA(staged.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const bool moved =
                fileMatches(staged, file.size, file.sha256) && moveOver(staged, target);
            window.trace(moved ? "Successfully copied files" : "error copying files to system");
            window.trace(downloadOf(file) + " to " + target);
            if (!moved) DeleteFileA(staged.c_str());
        }
        installed[i] = fileMatches(target, file.size, file.sha256);
        if (!installed[i]) continue;
        recordInstalledBuild(file.encodedName, file.newBuild);
        DeleteFileA(downloadOf(file).c_str());
    }
    DeleteFileA(journalPath().c_str());
}

// Undoes a journal cut off while preparing: no file was replaced; the staged
// copies go. The backup copies made stay, recorded with the build they are
// (a cut between a copy and its record left the record behind).
void dropStaged(const InstallJournal& journal) {
    win::SuiteRecordKey backup(win::kBackupKey);
    for (const JournalFile& file : journal.files) {
        const std::string target = targetOf(file);
        const std::string copy = backupFolder() + file.encodedName;
        DeleteFileA(stagedName(target).c_str());
        DeleteFileA(stagedName(copy).c_str());
        unsigned long long targetSize = 0, copySize = 0;
        std::string targetSha, copySha;
        if (fileDigest(target, targetSize, targetSha) && fileDigest(copy, copySize, copySha) &&
            targetSize == copySize && targetSha == copySha)
            backup.writeString(file.oldBuild, file.encodedName);
    }
    DeleteFileA(journalPath().c_str());
}

}  // namespace

std::string journalPath() {
    return installFolder() + "update-journal.txt";
}

void installDownloaded(UpdateView& window, std::vector<LumoFile>& list,
                       BeforeReplacing beforeReplacing) {
    InstallJournal journal;
    std::vector<LumoFile*> files;
    for (LumoFile& file : list) {
        file.installed = false;
        if (!file.needsUpdate || !file.downloaded) continue;
        if (!fitsJournal(file.name) || !fitsJournal(file.build)) {
            file.problem = "its name or installed build cannot be recorded";
            continue;
        }
        files.push_back(&file);
        journal.files.push_back(
            {file.name, file.localName, file.build, file.newBuild, file.size, file.sha256});
    }
    if (files.empty()) return;
    if (!writeJournal(journal)) {
        for (LumoFile* file : files) file->problem = "the install could not be recorded";
        return;
    }

    // Preparing: nothing is replaced yet.
    InstallJournal staged;
    staged.phase = InstallJournal::Phase::Replacing;
    std::vector<LumoFile*> kept;
    win::SuiteRecordKey backup(win::kBackupKey);
    for (size_t i = 0; i < files.size(); ++i) {
        LumoFile& file = *files[i];
        const std::string target = installFolder() + decodeFileName(file.name);
        if (!replaceWithCopy(target, backupFolder() + file.name)) {
            file.problem = "no backup copy of the installed file could be made";
            window.trace("not replaced, no backup copy: " + target);
            continue;
        }
        backup.writeString(file.build, file.name);
        if (!copyChecked(updatesFolder() + file.localName, stagedName(target), file.size,
                         file.sha256)) {
            file.problem = "the downloaded file could not be put beside the installed one";
            window.trace("not replaced, not staged: " + target);
            continue;
        }
        staged.files.push_back(journal.files[i]);
        kept.push_back(&file);
    }
    if (kept.empty() || !writeJournal(staged)) {
        for (LumoFile* file : kept) file->problem = "the install could not be recorded";
        dropStaged(journal);
        setRestoreAvailable(restoreAvailable(window) ? 1 : 0);
        return;
    }
    // From here on the install is finished, also after a cut: the backups
    // are in place and the restore is offered before the first replacement.
    setRestoreAvailable(1);
    const std::string busy = beforeReplacing ? beforeReplacing() : std::string();
    if (!busy.empty()) {
        window.trace("not replaced: " + busy);
        for (LumoFile* file : kept) file->problem = busy;
        dropStaged(staged);
        setRestoreAvailable(restoreAvailable(window) ? 1 : 0);
        return;
    }
    std::vector<bool> installed;
    replaceStaged(window, staged, installed);
    for (size_t i = 0; i < kept.size(); ++i) {
        kept[i]->installed = installed[i];
        if (!installed[i]) kept[i]->problem = "the installed file could not be replaced";
    }
}

Resumed resumeInterruptedInstall(UpdateView& window, BeforeReplacing beforeReplacing) {
    // A journal cut off while it was written never took the journal's place.
    DeleteFileA(stagedName(journalPath()).c_str());
    InstallJournal journal;
    bool present = false;
    const bool read = readJournal(journal, present);
    if (!present) return Resumed::Nothing;
    if (!read) {
        // Written whole or not at all: what cannot be read was not written
        // by the updater, and names nothing to finish.
        window.trace("unreadable install journal removed");
        DeleteFileA(journalPath().c_str());
        return Resumed::Nothing;
    }
    Resumed done = Resumed::Undone;
    if (journal.phase == InstallJournal::Phase::Replacing) {
        window.trace("finishing the install that was cut off");
        const std::string busy = beforeReplacing ? beforeReplacing() : std::string();
        if (!busy.empty()) {
            window.trace("postponed: " + busy);
            return Resumed::Postponed;
        }
        std::vector<bool> installed;
        replaceStaged(window, journal, installed);
        done = Resumed::Finished;
    } else {
        window.trace("undoing the install that was cut off");
        dropStaged(journal);
    }
    setRestoreAvailable(restoreAvailable(window) ? 1 : 0);
    return done;
}

bool restoreAvailable(UpdateView& window) {
    std::vector<LumoFile> backups;
    loadBackupList(window, backups);
    for (const LumoFile& file : backups)
        if (GetFileAttributesA((backupFolder() + file.name).c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
    return false;
}

void setRestoreAvailable(int available) {
    win::SuiteRecordKey(win::kBackupKey).writeInt(available, win::kUserRestoredValue);
}

void recordInstalledBuild(const std::string& encodedName, const std::string& build) {
    win::SuiteRecordKey(win::kUpdateKey).writeString(build, encodedName);
    if (lstrcmpiA(encodedName.c_str(), win::kMendoraEntry) == 0)
        win::SuiteRecordKey(win::kSuiteKey).writeString(build, win::kVersionValue);
}

}  // namespace updater
