// The updater's window inside the test program, clicked through its button
// and menu, its questions answered through the message-box road, against the
// update server that ctest runs around this program.
#include "updater/window/update_form.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/message_box.h"
#include "common/suite_registry.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/scoped_key_values.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "common/ui/application.h"
#include "updater/tests/support/test_release.h"

using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readFile;
using testing_support::signedOffer;
using testing_support::writeFile;

namespace {

struct Box {
    std::string text;
    std::string caption;
    UINT flags;
};

class UpdaterWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::Application::initialize());
        const char* address = std::getenv("MENDORA_UPDATE_SERVER");
        if (!address) GTEST_SKIP() << "run through update_server.py";
        server = address;
        serverSetting.setString(server);
        CreateDirectoryA(install.c_str(), nullptr);
        CreateDirectoryA(tools.c_str(), nullptr);
        publish("");
        DeleteFileA((site + "requests.log").c_str());
        // Mendora's recorded id names this test program: a stale id, which
        // the updater must leave alone.
        const DWORD self = GetCurrentProcessId();
        processId.set(REG_DWORD, std::string(reinterpret_cast<const char*>(&self), sizeof self));
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            // Whether the session may end while the question is open.
            sessionMayEnd.push_back(
                SendMessageA(form->handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != 0);
            boxes.push_back(Box{r.text, r.caption, r.flags});
            if (answers.empty()) return IDOK;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    void TearDown() override {
        win::setMessageBoxHandler({});
        form.reset();
        quitRequested();
    }

    void publish(const std::string& manifest) { writeFile(site + "manifest.txt", manifest); }
    std::string requests() { return readFile(site + "requests.log"); }
    std::string serverRoot() { return server.substr(0, server.rfind('/')); }

    // A new updater window, shown as at the program's start.
    updater::TForm1& open() {
        form.reset(new updater::TForm1());
        form->show();
        return *form;
    }
    void clickCheck() {
        HWND button = form->Button1.handle();
        SendMessageA(form->handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
    // "Restore previous version" as the menu sends it.
    void chooseRestore() {
        SendMessageA(form->handle(), WM_COMMAND, MAKEWPARAM(form->UpdatetoBackups1->id(), 0), 0);
    }
    bool restoreOffered() {
        const UINT state =
            GetMenuState(GetMenu(form->handle()), form->UpdatetoBackups1->id(), MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    }
    // Whether the program was told to end; takes the request back.
    bool quitRequested() {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
    bool traced(const std::string& line) {
        for (const std::string& l : form->Memo1.lines())
            if (l == line) return true;
        return false;
    }

    const std::string site = testing_support::ownProgramFolder() + "update-site\\";
    std::string server;
    testing_support::ScopedSuiteValue serverSetting{win::kSuiteKey, win::kUpdateServerValue};
    testing_support::ScopedSuiteValue processId{win::kSuiteKey, win::kProcessIdValue};
    testing_support::ScopedKeyValues update{win::kUpdateKey};
    testing_support::ScopedKeyValues backup{win::kBackupKey};
    // The install folder, and the folder "tools" beside it.
    testing_support::ScopedTestFolder root;
    const std::string install = root.path() + "suite\\";
    const std::string tools = root.path() + "tools\\";
    testing_support::ScopedAppPathsEntry installEntry{useOwnInstallEntry(), install};
    std::deque<int> answers;
    std::vector<Box> boxes;
    std::vector<bool> sessionMayEnd;
    std::unique_ptr<updater::TForm1> form;
};

TEST_F(UpdaterWindow, RestoreIsOfferedOnlyAfterAnInstallWithoutFailures) {
    open();
    EXPECT_FALSE(restoreOffered()) << "no Backup key";
    backup.setNumber(win::kUserRestoredValue, 1);
    open();
    EXPECT_TRUE(restoreOffered());
    backup.setNumber(win::kUserRestoredValue, 0);
    open();
    EXPECT_FALSE(restoreOffered());
    backup.setString(win::kUserRestoredValue, "1");
    open();
    EXPECT_FALSE(restoreOffered()) << "not a number";
}

TEST_F(UpdaterWindow, TheTraceLogKeepsTheNewestLinesOfALongRun) {
    open();
    for (int i = 0; i < 2100; ++i) form->trace("Busy " + std::to_string(i));
    const std::vector<std::string> lines = form->Memo1.lines();
    ASSERT_EQ(lines.size(), 2000u);
    EXPECT_EQ(lines.front(), "Busy 100");
    EXPECT_EQ(lines.back(), "Busy 2099");
}

TEST_F(UpdaterWindow, OneCheckPerRunWhetherNothingIsNewerOrTheUserDeclines) {
    open();
    // The status bar is as high as the layout leaves room for.
    EXPECT_EQ(form->StatusBar1.height(), 25);
    clickCheck();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Your current version of Mendora is up to date.");
    EXPECT_EQ(boxes[0].caption, "Updater");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONQUESTION));
    EXPECT_EQ(form->StatusBar1.panelText(0), "Check complete");
    EXPECT_TRUE(quitRequested());

    // A newer build, declined; the check answers late.
    writeFile(install + "Mendora.exe", "installed");
    update.setString("Mendora.exe", "1.0.0.7");
    writeFile(site + "Mendora.exe", "newer");
    publish("Mendora.exe 1.0.0.8 delay=1\n");
    boxes.clear();
    answers = {IDNO};
    open();
    clickCheck();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Updates found.  Would you like to download and install them?");
    EXPECT_EQ(boxes[0].caption, "Updates Found");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(traced("Done Checking for updates"));
    EXPECT_TRUE(quitRequested());
    EXPECT_NE(requests().find("mode=check"), std::string::npos);
    EXPECT_EQ(requests().find("mode=list"), std::string::npos);
    EXPECT_FALSE(folderExists(install + "updates"));

    // Closed while the server is slow to answer: the check is cancelled and
    // the program ends without a question.
    boxes.clear();
    open();
    PostMessageA(form->handle(), WM_CLOSE, 0, 0);
    clickCheck();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(quitRequested());
    EXPECT_EQ(readFile(install + "Mendora.exe"), "installed");
    EXPECT_EQ(update.text("Mendora.exe"), "1.0.0.7");
}

TEST_F(UpdaterWindow, AnInstallReplacesBacksUpAndRecordsWhatItInstalled) {
    writeFile(install + "Mendora.exe", "old mendora");
    writeFile(install + "rptrnr.dll", "engine");
    writeFile(tools + "x.dll", "old tool");
    update.setString("Mendora.exe", "1.0.0.7");
    update.setString("+~tools~x.dll", "3");
    update.setString("rptrnr.dll", "5");
    // Its folder is gone, so it cannot be backed up, and is not installed.
    update.setString("+~gone~y.dll", "1");
    backup.setString("old.dll", "0.9");  // from an earlier install
    writeFile(site + "Mendora.exe", "new mendora");
    writeFile(site + "+~tools~x.dll", "new tool");
    writeFile(site + "+~gone~y.dll", "new y");
    publish(signedOffer("Mendora.exe", "1.0.0.8", "new mendora") + "\n" +
            signedOffer("+~tools~x.dll", "4", "new tool") + "\nrptrnr.dll 5\n" +
            signedOffer("+~gone~y.dll", "2", "new y") + "\n");
    answers = {IDYES, IDNO};
    open();
    clickCheck();

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text,
              "Mendora Update Complete\n\nNot updated:\n- +~gone~y.dll: no backup copy of the "
              "installed file could be made\n\nDo you want to restart Mendora?");
    EXPECT_EQ(boxes[1].caption, "Updater");
    EXPECT_EQ(boxes[1].flags, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(sessionMayEnd, (std::vector<bool>{true, false})) << "refused while installing";
    // Downloaded under the encoded name, installed at the decoded path.
    EXPECT_EQ(readFile(install + "Mendora.exe"), "new mendora");
    EXPECT_EQ(readFile(tools + "x.dll"), "new tool");
    EXPECT_EQ(readFile(install + "rptrnr.dll"), "engine");
    EXPECT_EQ(readFile(install + "backup\\Mendora.exe"), "old mendora");
    EXPECT_EQ(readFile(install + "backup\\+~tools~x.dll"), "old tool");
    EXPECT_FALSE(fileExists(install + "backup\\rptrnr.dll"));
    EXPECT_FALSE(fileExists(install + "updates\\Mendora.exe"));
    EXPECT_FALSE(fileExists(install + "updates\\+~tools~x.dll"));
    EXPECT_FALSE(fileExists(root.path() + "gone"));
    EXPECT_TRUE(traced("Successfully copied files"));
    EXPECT_TRUE(traced(install + "updates\\+~tools~x.dll to " + install + "..\\tools\\x.dll"));

    EXPECT_EQ(update.text("Mendora.exe"), "1.0.0.8");
    EXPECT_EQ(update.text("+~tools~x.dll"), "4");
    EXPECT_EQ(update.text("rptrnr.dll"), "5");
    EXPECT_EQ(update.text("+~gone~y.dll"), "1") << "not installed, so offered again";
    EXPECT_EQ(backup.text("Mendora.exe"), "1.0.0.7");
    EXPECT_EQ(backup.text("+~tools~x.dll"), "3");
    EXPECT_EQ(backup.text("+~gone~y.dll"), "(missing)") << "no copy was kept";
    EXPECT_EQ(backup.text("old.dll"), "0.9");
    DWORD restorable = 9;
    EXPECT_TRUE(backup.number(win::kUserRestoredValue, restorable));
    EXPECT_EQ(restorable, 1u) << "what was replaced can be restored";

    // The window closed and the program ends; the recorded id was not
    // Mendora's, so this program lives on.
    EXPECT_FALSE(form->visible());
    EXPECT_TRUE(quitRequested());
}

TEST_F(UpdaterWindow, HostileAndDamagedDownloadsChangeNothing) {
    writeFile(install + "Mendora.exe", "old mendora");
    writeFile(site + "Mendora.exe", "new mendora");
    writeFile(site + "payload", "payload");
    update.setString("Mendora.exe", "1");
    update.setString("Up.dll", "1");
    update.setString("Drive.dll", "1");
    const std::string payload = serverRoot() + "/files/payload";
    publish(signedOffer("Mendora.exe", "2", "new mendora") + " digest=" + std::string(64, '0') +
            "\n" + "Up.dll 2 answer=7," + std::string(64, '0') + ",2,..\\up.dll," + payload + "\n" +
            "Drive.dll 2 answer=,,2,C:\\drive.dll," + payload + "\n");
    answers = {IDYES};
    open();
    clickCheck();

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text.find("There was an error completing your update\n\nNot updated:\n"), 0u)
        << boxes[1].text;
    EXPECT_EQ(boxes[1].caption, "Error");
    EXPECT_EQ(requests().find("/files/"), std::string::npos) << "nothing worth fetching";
    EXPECT_EQ(readFile(install + "Mendora.exe"), "old mendora");
    EXPECT_FALSE(fileExists(install + "updates\\Mendora.exe"));
    EXPECT_FALSE(fileExists(root.path() + "up.dll"));
    EXPECT_FALSE(fileExists("C:\\drive.dll"));
    EXPECT_FALSE(fileExists(install + "backup\\Mendora.exe"));
    EXPECT_TRUE(traced("refused Mendora.exe: the publisher's signature does not match the update"));
    EXPECT_EQ(update.text("Mendora.exe"), "1");
    EXPECT_EQ(update.text("Up.dll"), "1");
    EXPECT_EQ(update.text("Drive.dll"), "1");
    // Nothing changed, so there is nothing new to restore.
    EXPECT_EQ(backup.values().size(), 0u);
    EXPECT_TRUE(quitRequested());
}

TEST_F(UpdaterWindow, RestoreBringsBackTheBackedUpFilesAndBuilds) {
    writeFile(install + "Mendora.exe", "new mendora");
    writeFile(tools + "x.dll", "new tool");
    CreateDirectoryA((install + "backup").c_str(), nullptr);
    writeFile(install + "backup\\Mendora.exe", "old mendora");
    update.setString("Mendora.exe", "2");
    update.setString("+~tools~x.dll", "4");
    backup.setString("Mendora.exe", "1");
    backup.setString("+~tools~x.dll", "3");
    backup.setNumber(win::kUserRestoredValue, 1);

    // Declined: nothing happens, and the program ends.
    answers = {IDNO};
    open();
    chooseRestore();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "You are about to restore the version of Mendora that was on your system before the "
              "last update you applied.\nAre you sure you want to restore?");
    EXPECT_EQ(boxes[0].caption, "Confirm");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(quitRequested());
    EXPECT_EQ(readFile(install + "Mendora.exe"), "new mendora");

    // One copy is missing: the error, and everything stays for another try.
    boxes.clear();
    answers = {IDYES};
    open();
    chooseRestore();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "There was an error completing your update");
    EXPECT_EQ(boxes[1].caption, "Error");
    EXPECT_EQ(boxes[1].flags, static_cast<UINT>(MB_OK | MB_ICONQUESTION));
    EXPECT_TRUE(quitRequested());
    EXPECT_TRUE(fileExists(install + "backup\\Mendora.exe"));
    EXPECT_EQ(update.text("Mendora.exe"), "2");
    EXPECT_EQ(backup.values().size(), 3u);

    writeFile(install + "backup\\+~tools~x.dll", "old tool");
    boxes.clear();
    answers = {IDYES, IDNO};
    open();
    chooseRestore();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Mendora Restore Complete\nDo you want to launch Mendora?");
    EXPECT_EQ(boxes[1].caption, "Restore");
    EXPECT_TRUE(quitRequested());
    // Log-off and shutdown wait while the files are being put back.
    EXPECT_EQ(sessionMayEnd, (std::vector<bool>{true, true, false, true, false}));
    EXPECT_EQ(readFile(install + "Mendora.exe"), "old mendora");
    EXPECT_EQ(readFile(tools + "x.dll"), "old tool");
    EXPECT_FALSE(fileExists(install + "backup\\Mendora.exe"));
    EXPECT_FALSE(fileExists(install + "backup\\+~tools~x.dll"));
    EXPECT_EQ(update.text("Mendora.exe"), "1");
    EXPECT_EQ(update.text("+~tools~x.dll"), "3");
    ASSERT_EQ(backup.values().size(), 1u);
    DWORD restorable = 9;
    EXPECT_TRUE(backup.number(win::kUserRestoredValue, restorable));
    EXPECT_EQ(restorable, 0u);

    // The next start no longer offers it; chosen anyway, a restore with
    // nothing backed up succeeds.
    boxes.clear();
    answers = {IDYES, IDNO};
    open();
    EXPECT_FALSE(restoreOffered());
    chooseRestore();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Mendora Restore Complete\nDo you want to launch Mendora?");
    EXPECT_TRUE(backup.number(win::kUserRestoredValue, restorable));
    EXPECT_EQ(restorable, 0u);
    EXPECT_EQ(update.text("Mendora.exe"), "1");
}

}  // namespace
