// The build texts the update server names: which the updater records, and
// which of two builds is the newer. Pure.
#pragma once

#include <string>

namespace updater {

// Not empty, at most 64 characters, no control characters: a text that can
// be recorded as a file's build and shown.
bool isAcceptableBuildText(const std::string& build);

// Compares two builds as dotted numbers ("1.0.10" is newer than "1.0.9"; a
// missing part counts as 0, leading zeros do not count); a part that is not
// a number is compared as text. Negative, 0 or positive as a is older than,
// the same as or newer than b.
int compareBuilds(const std::string& a, const std::string& b);

}  // namespace updater
