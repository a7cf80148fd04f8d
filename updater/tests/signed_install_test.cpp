// The install against the update server that ctest runs around this
// program: only what the publisher signed is installed, nothing is replaced
// without a backup, and an install killed at any moment is finished or
// undone by the next start.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/scoped_key_values.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "common/win_handles.h"
#include "updater/install_transaction.h"
#include "updater/sha256.h"
#include "updater/tests/support/test_release.h"
#include "updater/update_install.h"

using namespace updater;
using testing_support::fileExists;
using testing_support::readFile;
using testing_support::signedOffer;
using testing_support::writeFile;

namespace {

class AnsweringWindow : public InstallView {
public:
    void trace(const std::string& line) override { traces.push_back(line); }
    void setStatus(const std::string&) override {}
    void setItemProgress(int) override {}
    void setOverallProgress(int) override {}
    void disableCheckButton() override {}
    void processMessages() override {}
    int ask(const std::string& text, const std::string& caption, unsigned) override {
        questions.push_back(caption + ": " + text);
        return IDNO;
    }
    std::vector<std::string> traces;
    std::vector<std::string> questions;
};

// The registry and folders an install touches, to this test alone.
class Install : public ::testing::Test {
protected:
    void SetUp() override {
        const char* address = std::getenv("MENDORA_UPDATE_SERVER");
        if (!address) GTEST_SKIP() << "run through update_server.py";
        serverSetting.setString(address);
        server = address;
        publish("");
    }

    void publish(const std::string& manifest) { writeFile(site + "manifest.txt", manifest); }
    std::string serverRoot() { return server.substr(0, server.rfind('/')); }

    // Checks and installs every file of the Update key.
    AnsweringWindow checkAndInstall() {
        AnsweringWindow window;
        std::vector<LumoFile> list;
        loadUpdateList(window, list);
        CheckForUpdates(window, &handle, list);
        installUpdates(window, &handle, list);
        return window;
    }

    const std::string site = testing_support::ownProgramFolder() + "update-site\\";
    std::string server;
    testing_support::ScopedSuiteValue serverSetting{win::kSuiteKey, win::kUpdateServerValue};
    testing_support::ScopedSuiteValue version{win::kSuiteKey, win::kVersionValue};
    testing_support::ScopedKeyValues update{win::kUpdateKey};
    testing_support::ScopedKeyValues backup{win::kBackupKey};
    testing_support::ScopedTestFolder folder;
    const std::string install = folder.path();
    testing_support::ScopedAppPathsEntry installEntry{useOwnInstallEntry(), install};
    UpdaterHandle handle;
};

TEST_F(Install, OnlyTheFileThePublisherSignedIsInstalled) {
    writeFile(install + "Mendora.exe", "old mendora");
    update.setString("Mendora.exe", "1.0.0.7");
    // A file of the same name left in "updates" is not what gets installed.
    CreateDirectoryA((install + "updates").c_str(), nullptr);
    writeFile(install + "updates\\Mendora.exe", "planted");
    writeFile(site + "mendora-8.exe", "new mendora");
    publish(signedOffer("Mendora.exe", "1.0.0.8", "new mendora", "mendora-8.exe") + "\n");

    const AnsweringWindow window = checkAndInstall();
    EXPECT_EQ(readFile(install + "Mendora.exe"), "new mendora");
    EXPECT_EQ(readFile(install + "backup\\Mendora.exe"), "old mendora");
    EXPECT_EQ(update.text("Mendora.exe"), "1.0.0.8");
    EXPECT_EQ(backup.text("Mendora.exe"), "1.0.0.7");
    DWORD type = 0;
    std::string recorded;
    EXPECT_TRUE(version.read(type, recorded));
    EXPECT_EQ(recorded.c_str(), std::string("1.0.0.8")) << "the version follows Mendora.exe";
    DWORD restorable = 0;
    EXPECT_TRUE(backup.number(win::kUserRestoredValue, restorable));
    EXPECT_EQ(restorable, 1u);
    EXPECT_FALSE(fileExists(install + "updates\\mendora-8.exe"));
    EXPECT_FALSE(fileExists(journalPath()));
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0],
              "Updater: Mendora Update Complete\nDo you want to restart Mendora?");
}

TEST_F(Install, WhatThePublisherDidNotSignIsRefusedWithNothingChanged) {
    const std::string names[] = {"Unsigned.dll", "Stranger.dll", "Altered.dll",
                                 "Older.dll",    "Device.dll",   "Empty.dll"};
    for (const std::string& name : names) {
        writeFile(install + name, "old " + name);
        update.setString(name, "5");
        writeFile(site + name, "new " + name);
    }
    const ReleaseFacts stranger = testing_support::factsOf("Stranger.dll", "6", "new Stranger.dll");
    const ReleaseFacts altered = testing_support::factsOf("Altered.dll", "6", "new Altered.dll");
    writeFile(site + "Altered.dll", "NEW Altered.dll");  // changed on the server
    publish(
        "Unsigned.dll 6\n"
        "Stranger.dll 6 signature=" +
        testing_support::unknownKeySignature(stranger) + "\n" + "Altered.dll 6 digest=" +
        altered.sha256 + " signature=" + testing_support::testKeySignature(altered) + "\n" +
        signedOffer("Older.dll", "4.9", "new Older.dll") + "\n" +
        signedOffer("Device.dll", "6", "new Device.dll", "CON.dll") + "\n" +
        "Empty.dll 6 answer=15,,,x,http://127.0.0.1/\n");

    const AnsweringWindow window = checkAndInstall();
    for (const std::string& name : names) {
        EXPECT_EQ(readFile(install + name), "old " + name);
        EXPECT_EQ(update.text(name), "5") << name;
    }
    EXPECT_EQ(backup.values().size(), 0u) << "nothing recorded";
    EXPECT_FALSE(fileExists(install + "backup\\Altered.dll"));
    EXPECT_FALSE(fileExists(install + "updates\\Altered.dll")) << "a damaged download is deleted";
    ASSERT_EQ(window.questions.size(), 1u);
    const std::string& message = window.questions[0];
    EXPECT_EQ(message.find("Error: There was an error completing your update\n\nNot updated:"), 0u)
        << message;
    for (const char* why :
         {"- Unsigned.dll: the update is not signed by its publisher",
          "- Stranger.dll: the update is signed by a key that is not the "
          "publisher's",
          "- Altered.dll: the downloaded file is not the one its publisher signed",
          "- Older.dll: build 4.9 is older than the installed 5",
          "- Device.dll: the server named an unsafe file name",
          "- Empty.dll: the server named no usable build"})
        EXPECT_NE(message.find(why), std::string::npos) << why << "\n" << message;
}

TEST_F(Install, AFileWithoutABackupCopyIsNotReplaced) {
    for (const char* name : {"Mendora.exe", "rptrnr.dll"}) {
        writeFile(install + name, std::string("old ") + name);
        update.setString(name, "1");
        writeFile(site + name, std::string("new ") + name);
    }
    // Its backup copy cannot be made: a folder holds its place.
    CreateDirectoryA((install + "backup").c_str(), nullptr);
    CreateDirectoryA((install + "backup\\rptrnr.dll").c_str(), nullptr);
    publish(signedOffer("Mendora.exe", "2", "new Mendora.exe") + "\n" +
            signedOffer("rptrnr.dll", "2", "new rptrnr.dll") + "\n");

    const AnsweringWindow window = checkAndInstall();
    EXPECT_EQ(readFile(install + "Mendora.exe"), "new Mendora.exe");
    EXPECT_EQ(readFile(install + "rptrnr.dll"), "old rptrnr.dll");
    EXPECT_EQ(update.text("rptrnr.dll"), "1");
    EXPECT_EQ(backup.text("rptrnr.dll"), "(missing)");
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0],
              "Updater: Mendora Update Complete\n\nNot updated:\n- rptrnr.dll: no backup copy of "
              "the installed file could be made\n\nDo you want to restart Mendora?");
    RemoveDirectoryA((install + "backup\\rptrnr.dll").c_str());
}

// --- an install killed at random moments -------------------------------------

const char* const kKilledNames[] = {"Mendora.exe", "rptrnr.dll", "Parleclient.exe"};
const char kStartedEvent[] = "mendora-updater-kill-test-started";

std::string killedContent(int file, bool isNew) {
    std::string bytes(768 * 1024, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * (file + 3) + (isNew ? 101 : 7)) % 253);
    return bytes;
}

// The downloaded state an install starts from: what fetchUpdateFile leaves.
std::vector<LumoFile> downloadedList() {
    std::vector<LumoFile> list;
    for (int i = 0; i < 3; ++i) {
        LumoFile file;
        file.name = kKilledNames[i];
        file.build = "1";
        file.newBuild = "2";
        file.needsUpdate = file.downloaded = true;
        file.localName = std::string("new-") + kKilledNames[i];
        const std::string bytes = killedContent(i, true);
        file.size = bytes.size();
        file.sha256 = sha256Hex(bytes);
        list.push_back(file);
    }
    return list;
}

CHILD_SCENARIO(installDownloaded) {
    useOwnInstallEntry();
    AnsweringWindow window;
    std::vector<LumoFile> list = downloadedList();
    win::KernelHandle started(OpenEventA(EVENT_MODIFY_STATE, FALSE, kStartedEvent));
    if (started) SetEvent(started.get());
    installDownloaded(window, list, nullptr);
}

TEST_F(Install, AnInstallKilledAtAnyMomentIsFinishedOrUndoneByTheNextStart) {
    CreateDirectoryA((install + "updates").c_str(), nullptr);
    CreateDirectoryA((install + "backup").c_str(), nullptr);
    const auto reset = [&] {
        for (int i = 0; i < 3; ++i) {
            writeFile(install + kKilledNames[i], killedContent(i, false));
            writeFile(install + "updates\\new-" + kKilledNames[i], killedContent(i, true));
            DeleteFileA((install + "backup\\" + kKilledNames[i]).c_str());
            update.setString(kKilledNames[i], "1");
        }
        for (const auto& value : backup.values()) {
            HKEY key = nullptr;
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, win::kBackupKey, 0,
                          KEY_SET_VALUE | win::kSuiteRecordsView, &key);
            RegDeleteValueA(key, value.first.c_str());
            RegCloseKey(key);
        }
    };
    win::KernelHandle started(CreateEventA(nullptr, TRUE, FALSE, kStartedEvent));
    char exe[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    // Starts the install in a child and kills it `delayMs` after it began;
    // how long the install ran.
    const auto runKilled = [&](DWORD delayMs) {
        ResetEvent(started.get());
        std::string commandLine = std::string("\"") + exe + "\" --child=installDownloaded";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        EXPECT_TRUE(CreateProcessA(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi));
        win::KernelHandle process(pi.hProcess), thread(pi.hThread);
        EXPECT_EQ(WaitForSingleObject(started.get(), 30000), WAIT_OBJECT_0);
        const DWORD begun = GetTickCount();
        if (WaitForSingleObject(process.get(), delayMs) == WAIT_TIMEOUT)
            TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 30000);
        return GetTickCount() - begun;
    };

    reset();
    const DWORD whole = runKilled(INFINITE);
    std::mt19937 random(20261209);
    int finished = 0, undone = 0;
    for (int kill = 0; kill < 100; ++kill) {
        reset();
        const DWORD delay = std::uniform_int_distribution<DWORD>(0, whole + whole / 5)(random);
        runKilled(delay);
        // Every file is whole: its old build or its new one.
        for (int i = 0; i < 3; ++i) {
            const std::string now = readFile(install + kKilledNames[i]);
            ASSERT_TRUE(now == killedContent(i, false) || now == killedContent(i, true))
                << kKilledNames[i] << " after a kill at " << delay << " ms";
        }
        AnsweringWindow window;
        resumeInterruptedInstall(window, nullptr);
        ASSERT_FALSE(fileExists(journalPath()));
        int newer = 0;
        for (int i = 0; i < 3; ++i) {
            ASSERT_FALSE(fileExists(install + kKilledNames[i] + ".new"));
            newer += readFile(install + kKilledNames[i]) == killedContent(i, true);
        }
        ASSERT_TRUE(newer == 0 || newer == 3) << newer << " new after a kill at " << delay;
        for (int i = 0; i < 3; ++i) {
            const std::string copy = install + "backup\\" + kKilledNames[i];
            ASSERT_EQ(update.text(kKilledNames[i]), newer ? "2" : "1");
            if (newer) {
                ASSERT_EQ(readFile(copy), killedContent(i, false));
            }
            // A copy is recorded with its build, whichever way the install went.
            if (fileExists(copy)) {
                ASSERT_EQ(backup.text(kKilledNames[i]), "1");
            }
        }
        DWORD restorable = 0;
        if (newer) {
            ASSERT_TRUE(backup.number(win::kUserRestoredValue, restorable));
            ASSERT_EQ(restorable, 1u) << "the restore stays offered";
        }
        (newer ? finished : undone)++;
    }
    // The kills fell on both sides of the first replacement.
    EXPECT_GT(finished, 0);
    EXPECT_GT(undone, 0);
    std::printf("install of %lu ms killed 100 times: %d finished, %d undone\n",
                static_cast<unsigned long>(whole), finished, undone);
}

}  // namespace
