#include "scan/kept_items.h"

#include <memory>

#include "common/app_path.h"
#include "common/file_contents.h"
#include "common/message_box.h"
#include "scan/task_manager.h"

namespace sysrepair {

std::string keptItemsPath() {
    std::string folder = win::appPathFolder(win::mendoraEntryName());
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + "kept-items.txt";
}

KeptItemsRead readKeptItems(KeepList& list) {
    list = KeepList();
    const std::string path = keptItemsPath();
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return KeptItemsRead::None;
        return KeptItemsRead::Damaged;
    }
    // One byte over the limit tells a list that is too long from one that
    // just fits.
    std::string text;
    if (!win::readFileBytes(path, KeepList::kMostBytes + 1, text)) return KeptItemsRead::Damaged;
    return parseKeepList(text, list) ? KeptItemsRead::Read : KeptItemsRead::Damaged;
}

bool writeKeptItems(const KeepList& list) {
    const std::string path = keptItemsPath();
    KeepList current;
    if (readKeptItems(current) == KeptItemsRead::Damaged)
        MoveFileExA(path.c_str(), (path + ".damaged").c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return win::replaceFileContents(path, formatKeepList(list));
}

std::string damagedKeptItemsText() {
    return "The list of items to keep (" + keptItemsPath() +
           ") is damaged and could not be read.\n\nNothing is kept from it: this scan lists "
           "everything it finds. Items you keep from now on start a new list; the damaged one "
           "is put aside as kept-items.txt.damaged.";
}

KeptItemsRead useKeptItemsForScan(HWND owner) {
    auto list = std::make_shared<KeepList>();
    const KeptItemsRead read = readKeptItems(*list);
    TaskManager::instance()->setKeepList(list);
    if (read == KeptItemsRead::Damaged)
        win::showMessageBox(owner, damagedKeptItemsText(), "Mendora", MB_OK | MB_ICONWARNING);
    return read;
}

}  // namespace sysrepair
