#include "font_paths.h"

#include <windows.h>

#include "message_box.h"
#include "path_text.h"
#include "windows_folder.h"

namespace sysrepair {

FontPaths* FontPaths::instance() {
    static FontPaths* const task = new FontPaths();
    return task;
}

bool FontPaths::scan() {
    std::string windows;
    switch (findWindowsFolder(windows)) {
        case WindowsFolderLookup::NtLookupFailed:
            showMessageBox(mainWindowHandle(), "Failure To Retrieve Windows Folder", "Error",
                           MB_OK | MB_ICONQUESTION);
            return false;
        case WindowsFolderLookup::LegacyLookupFailed:
            showMessageBox(mainWindowHandle(), "Cannot get Windows Folder", "Mendora Error",
                           MB_OK | MB_ICONQUESTION);
            break;
        case WindowsFolderLookup::Found:
            break;
    }
    const std::string fonts =
        windows + (!windows.empty() && windows.back() == '\\' ? "Fonts\\" : "\\Fonts\\");

    setRunning(true);
    clearEntries();
    checkValues("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                [&](const std::string&, const std::string& file) {
                    return !fileExistsOnPath(file) && !fileExistsOnPath(fonts + file);
                });
    setRunning(false);
    return true;
}

}  // namespace sysrepair
