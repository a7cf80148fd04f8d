#include "chat/client/client_details_file.h"

#include <windows.h>

#include "common/app_path.h"
#include "common/file_contents.h"
#include "common/suite_registry.h"

namespace chatclient {

namespace {

// One length byte and at most 255 bytes after it.
const size_t kLargestFile = 256;

std::string settingsFolder() {
    return win::appPathFolder(win::kSuiteHostEntry) + "settings\\";
}

}  // namespace

std::string clientDetailsPath() {
    return settingsFolder() + "clientInfo.dat";
}

bool loadClientDetailsFile(ClientDetails& details) {
    std::string bytes;
    return win::readFileBytes(clientDetailsPath(), kLargestFile, bytes) &&
           decodeClientDetails(bytes, details);
}

bool saveClientDetailsFile(const ClientDetails& details) {
    // An existing folder is fine, and a failure shows when the file is written.
    CreateDirectoryA(settingsFolder().c_str(), nullptr);
    return win::replaceFileContents(clientDetailsPath(), encodeClientDetails(details));
}

}  // namespace chatclient
