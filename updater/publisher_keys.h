// The keys whose signatures MendoraUpdater accepts: the publisher's (more
// than one while a new key is introduced before the old one is retired), and
// in test builds only the test key.
#pragma once

#include <vector>

#include "updater/release_signature.h"

namespace updater {

const std::vector<PublisherKey>& publisherKeys();

}  // namespace updater
