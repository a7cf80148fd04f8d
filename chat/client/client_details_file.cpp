#include "chat/client/client_details_file.h"

#include <windows.h>

#include <shlobj.h>

#include "common/app_path.h"
#include "common/file_contents.h"
#include "common/suite_registry.h"

namespace chatclient {

namespace {

// One length byte and at most 255 bytes after it.
const size_t kLargestFile = 256;
const char kFileName[] = "clientInfo.dat";

std::string suiteSettingsFolder() {
    return win::appPathFolder(win::kSuiteHostEntry) + "settings\\";
}

// The user's folder for the details, with a backslash at the end; empty when
// the application-data folder cannot be found.
std::string userSettingsFolder() {
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)) ||
        appData[0] == '\0')
        return "";
    std::string folder = appData;
    if (folder.back() != '\\') folder += '\\';
    return folder + win::kMakerName + "\\Parleclient\\";
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes the folder and the folders above it; an existing one is fine, and a
// failure shows when the file is written.
void makeFolders(const std::string& folder) {
    for (size_t end = folder.find('\\', 3); end != std::string::npos;
         end = folder.find('\\', end + 1))
        CreateDirectoryA(folder.substr(0, end).c_str(), nullptr);
}

}  // namespace

std::string clientDetailsPath() {
    const std::string folder = userSettingsFolder();
    return folder.empty() ? suiteFolderClientDetailsPath() : folder + kFileName;
}

std::string suiteFolderClientDetailsPath() {
    return suiteSettingsFolder() + kFileName;
}

bool loadClientDetailsFile(ClientDetails& details) {
    std::string path = clientDetailsPath();
    if (!fileExists(path)) path = suiteFolderClientDetailsPath();
    std::string bytes;
    return win::readFileBytes(path, kLargestFile, bytes) && decodeClientDetails(bytes, details);
}

bool saveClientDetailsFile(const ClientDetails& details) {
    const std::string path = clientDetailsPath();
    makeFolders(path.substr(0, path.find_last_of('\\') + 1));
    return win::replaceFileContents(path, encodeClientDetails(details));
}

}  // namespace chatclient
