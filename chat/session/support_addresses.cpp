#include "chat/session/support_addresses.h"

#include "common/suite_registry.h"
#include "common/suite_settings.h"

namespace chatsession {

std::string supportServerHost() {
    return win::readSuiteSetting(win::kSupportServerValue, win::kDefaultSupportServer);
}

std::string supportPageAddress() {
    return win::readSuiteSetting(win::kSupportPageValue, win::kDefaultSupportPage);
}

}  // namespace chatsession
