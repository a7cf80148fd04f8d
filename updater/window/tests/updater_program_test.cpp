// MendoraUpdater.exe as the user meets it: started as a process of its own,
// driven through its window from outside, with Mendora running from the
// install folder, against the update server that ctest runs around this
// program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/suite_registry.h"
#include "common/tests/driver/window_driver.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/scoped_key_values.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "updater/tests/support/test_release.h"

using testing_support::ProgramProcess;
using testing_support::readFile;
using testing_support::writeFile;
using namespace window_driver;

namespace {

const DWORD kAlreadyRunning = static_cast<DWORD>(-1);

// The programs are built beside this test program's folder.
std::string builtUpdater() {
    return testing_support::ownProgramFolder() + "..\\MendoraUpdater.exe";
}
std::string builtMendora() {
    return testing_support::ownProgramFolder() + "..\\..\\..\\shell\\Mendora.exe";
}

TEST(UpdaterProgram, ClosesMendoraInstallsTheNewerBuildAndRestartsIt) {
    const char* address = std::getenv("MENDORA_UPDATE_SERVER");
    if (!address) GTEST_SKIP() << "run through update_server.py";
    testing_support::ScopedSuiteValue serverSetting(win::kSuiteKey, win::kUpdateServerValue,
                                                    address);
    testing_support::ScopedSuiteValue processId(win::kSuiteKey, win::kProcessIdValue);
    testing_support::ScopedKeyValues update(win::kUpdateKey);
    testing_support::ScopedKeyValues backup(win::kBackupKey);
    testing_support::ScopedTestFolder install;
    testing_support::ScopedAppPathsEntry installEntry("Mendora.exe", install.path());
    ProgramsInFolderEnder leftovers(install.path());

    // The installed Mendora runs; the server has a newer build of it (the
    // same program with a mark appended, so that it starts too).
    const std::string installed = readFile(builtMendora());
    ASSERT_FALSE(installed.empty());
    writeFile(install.path() + "Mendora.exe", installed);
    const std::string site = testing_support::ownProgramFolder() + "update-site\\";
    const std::string newer = installed + "build 1.0.0.8";
    writeFile(site + "Mendora.exe", newer);
    writeFile(site + "manifest.txt", testing_support::signedOffer("Mendora.exe", "1.0.0.8", newer));
    update.setString("Mendora.exe", "1.0.0.7");
    ProgramProcess mendora(install.path() + "Mendora.exe");
    ASSERT_TRUE(mendora.started());
    ASSERT_NE(waitForWindow(mendora.id(), "Mendora", 60), nullptr);

    ProgramProcess updater(builtUpdater());
    ASSERT_TRUE(updater.started());
    HWND window = waitForWindow(updater.id(), "Mendora Updater", 60);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ProgramProcess second(builtUpdater());
    EXPECT_EQ(second.exitCode(30), kAlreadyRunning);

    pressButton(visibleChildWithText(
        window, [](const std::string& text) { return text == "Check For Updates"; }));
    HWND box = waitForMessageBox(updater.id(), 60);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(windowText(box), "Updates Found");
    EXPECT_EQ(messageText(box), "Updates found.  Would you like to download and install them?");
    answer(box, IDYES);
    ASSERT_TRUE(pollUntil(
        [&] { return (box = waitForMessageBox(updater.id(), 1)) && windowText(box) == "Updater"; },
        120));
    EXPECT_EQ(messageText(box), "Mendora Update Complete\nDo you want to restart Mendora?");
    // Mendora was ended before its program file was replaced.
    EXPECT_EQ(mendora.exitCode(0), 0u);
    // Compared as a whole: a difference of programs would be too long to show.
    EXPECT_TRUE(readFile(install.path() + "Mendora.exe") == newer);
    EXPECT_TRUE(readFile(install.path() + "backup\\Mendora.exe") == installed);
    EXPECT_EQ(update.text("Mendora.exe"), "1.0.0.8");
    EXPECT_EQ(backup.text("Mendora.exe"), "1.0.0.7");
    DWORD restorable = 0;
    EXPECT_TRUE(backup.number(win::kUserRestoredValue, restorable));
    EXPECT_EQ(restorable, 1u);

    // Yes starts the new build from the install folder; the updater ends.
    answer(box, IDYES);
    EXPECT_EQ(updater.exitCode(60), 0u);
    // Other test programs may show a window of Mendora's meanwhile: the
    // process is found by its program file.
    DWORD restarted = 0;
    ASSERT_TRUE(pollUntil(
        [&] { return (restarted = findProcessOf(install.path() + "Mendora.exe")) != 0; }, 60));
    EXPECT_NE(waitForWindow(restarted, "Mendora", 60), nullptr);
    endProcess(restarted);
}

}  // namespace
