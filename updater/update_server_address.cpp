#include "updater/update_server_address.h"

#include "common/suite_registry.h"
#include "common/suite_settings.h"

namespace updater {

std::string updateServerAddress() {
    return win::readSuiteSetting(win::kUpdateServerValue, win::kDefaultUpdateServer);
}

}  // namespace updater
