#include "scan/categories/font_paths.h"

#include <windows.h>

#include <shlobj.h>

#include "common/message_box.h"
#include "common/windows_folder.h"
#include "scan/categories/path_text.h"

namespace sysrepair {

namespace {

// The user's own Fonts folder, with a backslash at the end: since Windows 10
// (1809) a font installed for one user lives in the user's local
// application-data folder, "Microsoft\Windows\Fonts". Empty when that
// folder cannot be found.
std::string userFontsFolder() {
    char local[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)) ||
        local[0] == '\0')
        return "";
    std::string folder = local;
    if (folder.back() != '\\') folder += '\\';
    return folder + "Microsoft\\Windows\\Fonts\\";
}

}  // namespace

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

    const std::string userFonts = userFontsFolder();

    setRunning(true);
    clearEntries();
    checkValues("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                [&](const std::string&, const std::string& file) -> std::string {
                    if (fileExistsOnPath(file) || fileExistsOnPath(fonts + file) ||
                        (!userFonts.empty() && fileExistsOnPath(userFonts + file)))
                        return std::string();
                    if (file.find('\\') != std::string::npos)
                        return "the font file " + file + " does not exist";
                    return "the font file " + file + " is not in the Fonts folder " + fonts;
                });
    setRunning(false);
    return true;
}

}  // namespace sysrepair
