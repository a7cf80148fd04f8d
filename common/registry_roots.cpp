#include "common/registry_roots.h"

namespace win {

namespace {

struct RootName {
    const char* name;
    HKEY root;
};

// The order of the name comparison.
const RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},     {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

}  // namespace

HKEY rootFromName(const std::string& name) {
    for (const RootName& r : kRoots)
        if (name == r.name) return r.root;
    return HKEY_LOCAL_MACHINE;
}

std::string nameFromRoot(HKEY root) {
    for (const RootName& r : kRoots)
        if (root == r.root) return r.name;
    return "HKEY_LOCAL_MACHINE";
}

}  // namespace win
