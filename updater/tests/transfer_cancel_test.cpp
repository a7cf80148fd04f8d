// cancelTransfers() against the update server (updater/server/update_server.py),
// which ctest runs around this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/suite_registry.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "updater/update_check.h"
#include "updater/updater.h"

using namespace updater;
using testing_support::fileExists;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// Closes the window, as a user would, once the download has begun writing.
class ClosingWindow : public UpdateView {
public:
    ClosingWindow(std::string partialFile, UpdaterHandle& handle)
        : partialFile_(std::move(partialFile)), handle_(handle) {}
    void trace(const std::string&) override {}
    void setStatus(const std::string&) override {}
    void setItemProgress(int) override {}
    void setOverallProgress(int) override {}
    void disableCheckButton() override {}
    void processMessages() override {
        if (!transfersCancelled(&handle_) && fileExists(partialFile_)) cancelTransfers(&handle_);
    }

private:
    std::string partialFile_;
    UpdaterHandle& handle_;
};

TEST(TransferCancel, EndsTheRunningDownloadAndEveryLaterTransfer) {
    const char* address = std::getenv("MENDORA_UPDATE_SERVER");
    if (!address) GTEST_SKIP() << "run through update_server.py";
    const std::string server = address;
    const std::string root = server.substr(0, server.rfind('/'));
    const std::string site = testing_support::ownProgramFolder() + "update-site\\";
    testing_support::ScopedSuiteValue serverSetting{win::kSuiteKey, win::kUpdateServerValue};
    serverSetting.setString(server);
    testing_support::ScopedTestFolder install;
    testing_support::ScopedAppPathsEntry installEntry{useOwnInstallEntry(), install.path()};
    writeFile(site + "manifest.txt", "Mendora.exe 2\n");
    writeFile(site + "small.bin", "small");

    const std::string target = install.path() + "trickle.bin";
    UpdaterHandle handle;
    ClosingWindow window(target + ".part", handle);
    ASSERT_TRUE(prepareQuery(window, &handle, "Mendora.exe", "Mendora.exe", "1"));
    // The trickle would otherwise run until its rate ends it, after 10 s.
    const DWORD start = GetTickCount();
    EXPECT_EQ(downloadFile(&handle, window, root + "/trickle", target, 0), 0);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(transfersCancelled(&handle));
    EXPECT_FALSE(fileExists(target));
    EXPECT_FALSE(fileExists(target + ".part"));

    // Later transfers through the same handle ask the server nothing.
    const std::string asked = readFile(site + "requests.log");
    EXPECT_EQ(queryUpdate(&handle, window), 0);
    EXPECT_EQ(queryFileList(&handle, window), "");
    EXPECT_EQ(downloadFile(&handle, window, root + "/files/small.bin", target, 0), 0);
    EXPECT_EQ(readFile(site + "requests.log"), asked);
    EXPECT_FALSE(fileExists(target));
}

}  // namespace
