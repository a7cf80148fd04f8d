#include "scan/categories/font_paths.h"

#include <windows.h>

#include "common/message_box.h"
#include "common/windows_folder.h"
#include "scan/categories/path_text.h"

namespace sysrepair {

FontPaths* FontPaths::instance() {
    static FontPaths* const task = new FontPaths();
    return task;
}

bool FontPaths::scan() {
    std::string windows;
    switch (win::findWindowsFolder(windows)) {
        case win::WindowsFolderLookup::NtLookupFailed:
            win::showMessageOnUiThread("Failure To Retrieve Windows Folder", "Error",
                                       MB_OK | MB_ICONQUESTION);
            return false;
        case win::WindowsFolderLookup::LegacyLookupFailed:
            win::showMessageOnUiThread("Cannot get Windows Folder", "Mendora Error",
                                       MB_OK | MB_ICONQUESTION);
            break;
        case win::WindowsFolderLookup::Found:
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
