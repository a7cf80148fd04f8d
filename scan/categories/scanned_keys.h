// The registry views that the categories of registry references scan. A
// 32-bit Mendora reads its own view only. A 64-bit one reads its own and the
// 32-bit view, the latter through its Wow6432Node keys as plain key paths, so
// that its entries, backups and restores need nothing of their own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sysrepair {

struct ScannedKey {
    std::string path;
    // The key lies in the 32-bit view: its paths are meant for 32-bit
    // programs (pathAs32BitProgramSeesIt).
    bool of32BitView;
};

// root\ownPath, and in a 64-bit Mendora also root\path32 (its Wow6432Node
// form) unless that is the same key: Windows shares some keys between the
// views (Wine shares App Paths), and a shared key read twice would list each
// of its problems twice.
std::vector<ScannedKey> scannedKeys(HKEY root, const std::string& ownPath,
                                    const std::string& path32);

}  // namespace sysrepair
