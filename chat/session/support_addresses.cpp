#include "chat/session/support_addresses.h"

#include <windows.h>

#include "common/registry_reader_writer.h"

namespace chatsession {

const char kDefaultSupportServer[] = "support.brisklane.com";
const char kDefaultSupportPage[] = "http://www.brisklane.com/support.html";

namespace {

std::string configured(const char* name, const char* fallback) {
    RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey("SOFTWARE\\Brisklane Technologies\\Mendora\\");
    if (!reg.valueExists(name)) return fallback;
    bool ok = false;
    const std::string text = reg.readString(name, ok);
    return ok && !text.empty() ? text : fallback;
}

}  // namespace

std::string supportServerHost() {
    return configured("supportServer", kDefaultSupportServer);
}

std::string supportPageAddress() {
    return configured("supportPage", kDefaultSupportPage);
}

}  // namespace chatsession
