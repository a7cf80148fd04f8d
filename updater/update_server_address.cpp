#include "updater/update_server_address.h"

#include <windows.h>

#include "common/registry_reader_writer.h"

namespace updater {

const char kDefaultUpdateServer[] = "http://update.brisklane.com/download.asp";

std::string updateServerAddress() {
    RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey("SOFTWARE\\Brisklane Technologies\\Mendora\\");
    if (!reg.valueExists("updateServer")) return kDefaultUpdateServer;
    bool ok = false;
    const std::string address = reg.readString("updateServer", ok);
    return ok && !address.empty() ? address : kDefaultUpdateServer;
}

}  // namespace updater
