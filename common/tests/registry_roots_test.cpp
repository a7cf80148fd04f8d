#include "common/registry_roots.h"

#include <gtest/gtest.h>

namespace {

TEST(RegistryRoots, NamesMapBothWaysExactly) {
    const struct {
        const char* name;
        HKEY root;
    } roots[] = {{"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                 {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                 {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                 {"HKEY_USERS", HKEY_USERS},
                 {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}};
    for (const auto& r : roots) {
        EXPECT_EQ(win::rootFromName(r.name), r.root) << r.name;
        EXPECT_EQ(win::nameFromRoot(r.root), r.name);
    }
    // The handles are stored as 32-bit numbers in backup files.
    EXPECT_EQ(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(HKEY_CURRENT_CONFIG)), 0x80000005u);
}

TEST(RegistryRoots, UnknownOrMiscasedNamesAndHandlesFallBackToLocalMachine) {
    EXPECT_EQ(win::rootFromName("hkey_users"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(win::rootFromName("HKEY_USERS "), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(win::rootFromName(""), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(win::nameFromRoot(HKEY_PERFORMANCE_DATA), "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(win::nameFromRoot(nullptr), "HKEY_LOCAL_MACHINE");
}

}  // namespace
