#include "chat/session/support_server_address.h"

#include <windows.h>

#include "common/registry_reader_writer.h"

namespace chatsession {

const char kDefaultSupportServer[] = "support.brisklane.com";

std::string supportServerHost() {
    RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey("SOFTWARE\\Brisklane Technologies\\Mendora\\");
    if (!reg.valueExists("supportServer")) return kDefaultSupportServer;
    bool ok = false;
    const std::string host = reg.readString("supportServer", ok);
    return ok && !host.empty() ? host : kDefaultSupportServer;
}

}  // namespace chatsession
