// The update queries and downloads against the update server
// (updater/server/update_server.py), which ctest runs around this program on
// a port of 127.0.0.1, serving the folder "update-site" beside it.
#include "updater/update_check.h"

#include <windows.h>

#include <wincrypt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/registry_reader_writer.h"
#include "common/suite_registry.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/scoped_key_values.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "common/win_handles.h"
#include "updater/tests/support/test_release.h"
#include "updater/update_query.h"
#include "updater/updater.h"
#include "updater/verified_download.h"

using namespace updater;
using testing_support::fileExists;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class RecordingWindow : public UpdateView {
public:
    void trace(const std::string& line) override { traces.push_back(line); }
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setItemProgress(int percent) override { item.push_back(percent); }
    void setOverallProgress(int percent) override { overall.push_back(percent); }
    void disableCheckButton() override { checkDisabled = true; }
    void processMessages() override { ++polls; }

    std::vector<std::string> traces;
    std::vector<std::string> statuses;
    std::vector<int> item;
    std::vector<int> overall;
    bool checkDisabled = false;
    long polls = 0;
};

class UpdateServer : public ::testing::Test {
protected:
    void SetUp() override {
        const char* address = std::getenv("MENDORA_UPDATE_SERVER");
        if (!address) GTEST_SKIP() << "run through update_server.py";
        server = address;
        serverSetting.setString(server);
        CreateDirectoryA((install.path() + "updates").c_str(), nullptr);
        writeFile(site + "manifest.txt", "");
        DeleteFileA((site + "requests.log").c_str());
    }

    // The manifest's lines, and a file the server hands out.
    void publish(const std::string& manifest) { writeFile(site + "manifest.txt", manifest); }
    std::string requests() { return readFile(site + "requests.log"); }
    std::string serverRoot() { return server.substr(0, server.rfind('/')); }

    bool prepare(const std::string& file, const std::string& build) {
        return prepareQuery(window, &handle, file, file, build);
    }

    const std::string site = testing_support::ownProgramFolder() + "update-site\\";
    std::string server;
    testing_support::ScopedSuiteValue serverSetting{win::kSuiteKey, win::kUpdateServerValue};
    testing_support::ScopedTestFolder install;
    testing_support::ScopedAppPathsEntry installEntry{useOwnInstallEntry(), install.path()};
    RecordingWindow window;
    UpdaterHandle handle;
};

TEST_F(UpdateServer, TheCheckQueryTellsWhetherABuildIsNewer) {
    publish("Mendora.exe 1.0.0.7\n");
    ASSERT_TRUE(prepare("Mendora.exe", "1.0.0.7"));
    EXPECT_EQ(queryUpdate(&handle, window), 0);
    ASSERT_TRUE(prepare("Mendora.exe", "1.0 beta 2"));
    EXPECT_EQ(queryUpdate(&handle, window), 1);
    ASSERT_TRUE(prepare("Unknown.dll", "1"));
    EXPECT_EQ(queryUpdate(&handle, window), 0);

    const std::vector<std::string> expected = {"About to schedule", "Done Scheduling", "Busy"};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), window.traces.begin()));
    // The values travel as the updater formed them, the first blank as "+".
    EXPECT_NE(requests().find("/download.asp?mode=check&app=Mendora.exe&ver=1.0.0&file=Mendora"
                              ".exe&build=1.0+beta%202\n"),
              std::string::npos)
        << requests();

    // A prepared query needs every text; the updater itself refuses none the
    // window lets through, so only an empty build is stopped, silently.
    EXPECT_FALSE(prepare("Mendora.exe", ""));
    EXPECT_TRUE(window.statuses.empty());
}

TEST_F(UpdateServer, ListAnswersDecideWhatIsDownloaded) {
    const std::string bytes = "the file behind a comma address";
    writeFile(site + "a,b,c", bytes);
    const ReleaseFacts facts = testing_support::factsOf("Mendora.exe", "1.0.0.8", bytes);
    const std::string signedFields = std::to_string(facts.size) + "," + facts.sha256 + ";" +
                                     testing_support::testKeySignature(facts);
    publish("Mendora.exe 1.0.0.8 answer=" + signedFields + ",1.0.0.8,commas.exe," + serverRoot() +
            "/files/a,b,c\n"
            "Short.exe 2 answer=7,Short.exe,2\n"
            "None.exe 3 answer=-1\n"
            "Escape.exe 4 answer=" +
            signedFields + ",4,..\\\\escape.exe," + serverRoot() +
            "/files/a,b,c\n"
            "Drive.exe 5 answer=" +
            signedFields + ",5,C:escape.exe," + serverRoot() + "/files/a,b,c\n");

    LumoFile file;
    file.name = "Mendora.exe";
    file.build = "1.0.0.7";
    ASSERT_TRUE(prepare(file.name, file.build));
    EXPECT_TRUE(fetchUpdateFile(window, &handle, file));
    EXPECT_EQ(file.newBuild, "1.0.0.8");
    EXPECT_EQ(file.localName, "commas.exe");
    EXPECT_EQ(readFile(install.path() + "updates\\commas.exe"), bytes);
    EXPECT_EQ(window.statuses.back(),
              "Download Complete: " + install.path() + "updates\\commas.exe");

    // Too few fields: the whole answer is taken as the address, which is none.
    file.name = "Short.exe";
    ASSERT_TRUE(prepare(file.name, "1"));
    EXPECT_FALSE(fetchUpdateFile(window, &handle, file));
    EXPECT_EQ(window.statuses.back(), "Download Error");

    file.name = "None.exe";
    ASSERT_TRUE(prepare(file.name, "1"));
    EXPECT_FALSE(fetchUpdateFile(window, &handle, file));
    EXPECT_EQ(window.statuses.back(), "Update not downloaded; no update found");

    // No answer may write outside the updates folder.
    for (const char* name : {"Escape.exe", "Drive.exe"}) {
        file.name = name;
        ASSERT_TRUE(prepare(name, "1"));
        EXPECT_FALSE(fetchUpdateFile(window, &handle, file));
        EXPECT_EQ(window.statuses.back(), "Download Error");
    }
    EXPECT_FALSE(fileExists(install.path() + "escape.exe"));
    EXPECT_EQ(requests().find("/files/a,b,c\n", requests().find("Escape")), std::string::npos);
}

TEST_F(UpdateServer, ADownloadShowsItsProgressAndLeavesTheWholeFile) {
    std::string big(3 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 % 251);
    writeFile(site + "big.bin", big);
    publish("Big.exe 9\n");
    ASSERT_TRUE(prepare("Big.exe", "1"));
    const std::string target = install.path() + "updates\\big.bin";
    EXPECT_EQ(downloadFile(&handle, window, serverRoot() + "/files/big.bin", target, big.size()),
              1);
    const std::string received = readFile(target);
    EXPECT_EQ(received.size(), big.size());
    EXPECT_TRUE(received == big);
    EXPECT_FALSE(fileExists(target + ".part"));
    ASSERT_GE(window.item.size(), 3u);
    EXPECT_EQ(window.item.front(), 0);
    EXPECT_EQ(window.item.back(), 100);
    EXPECT_TRUE(std::is_sorted(window.item.begin(), window.item.end()));
    EXPECT_NE(std::find(window.statuses.begin(), window.statuses.end(),
                        " : " + std::to_string(big.size()) + " bytes read"),
              window.statuses.end());
}

TEST_F(UpdateServer, FailedTransfersLeaveNothingBehind) {
    publish("Any.exe 1\n");
    ASSERT_TRUE(prepare("Any.exe", "0"));
    const std::string target = install.path() + "updates\\any.bin";
    // Not found, refused (no address), and a server that stops answering,
    // which ends within the time-out.
    EXPECT_EQ(downloadFile(&handle, window, serverRoot() + "/files/missing.bin", target, 0), 0);
    EXPECT_EQ(downloadFile(&handle, window, "", target, 0), 0);
    const DWORD start = GetTickCount();
    EXPECT_EQ(downloadFile(&handle, window, serverRoot() + "/stall", target, 0), 0);
    EXPECT_LT(GetTickCount() - start, 30000u);
    EXPECT_FALSE(fileExists(target));
    EXPECT_FALSE(fileExists(target + ".part"));

    // An answer without end is cut off: nothing is kept.
    serverSetting.setString(serverRoot() + "/endless");
    ASSERT_TRUE(prepare("Any.exe", "0"));
    EXPECT_EQ(queryFileList(&handle, window), "");
    EXPECT_EQ(queryUpdate(&handle, window), 0);
}

TEST_F(UpdateServer, SlowOrOversizedDownloadsAreCutOffAndLeaveNoFile) {
    writeFile(site + "large.bin", std::string(1 << 20, 'x'));
    ASSERT_TRUE(prepare("Any.exe", "0"));
    const std::string target = install.path() + "updates\\cut.bin";
    // Larger than announced: by the announced length, and by the bytes of an
    // answer that announces none.
    EXPECT_EQ(downloadFile(&handle, window, serverRoot() + "/files/large.bin", target, 1000), 0);
    EXPECT_FALSE(fileExists(target));
    EXPECT_EQ(downloadFile(&handle, window, serverRoot() + "/endless", target, 200000), 0);
    EXPECT_FALSE(fileExists(target));

    // A byte every 2 s never trips a socket time-out; the minimum rate ends
    // it long before the file deadline of 10 minutes.
    const DWORD start = GetTickCount();
    EXPECT_EQ(downloadFile(&handle, window, serverRoot() + "/trickle", target, 0), 0);
    EXPECT_LT(GetTickCount() - start, 30000u);
    EXPECT_FALSE(fileExists(target));
    EXPECT_FALSE(fileExists(target + ".part"));
}

TEST_F(UpdateServer, ConnectionsTheServerClosedAreNeverUsedAgain) {
    // The server closes each connection a moment after its answer, without
    // having said so: a connection kept for reuse would be dead by the next
    // query.
    publish("Mendora.exe 2\n");
    serverSetting.setString(serverRoot() + "/once/download.asp");
    ASSERT_TRUE(prepare("Mendora.exe", "1"));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(queryUpdate(&handle, window), 1) << "query " << i;
    EXPECT_EQ(requests().find("(a request on a connection that /once/ closes)"), std::string::npos)
        << requests();

    // A reset before any answer is tried once more, and only once.
    serverSetting.setString(serverRoot() + "/reset");
    ASSERT_TRUE(prepare("Mendora.exe", "1"));
    EXPECT_EQ(queryUpdate(&handle, window), 0);
    size_t tries = 0;
    for (size_t at = requests().find("/reset?"); at != std::string::npos;
         at = requests().find("/reset?", at + 1))
        ++tries;
    EXPECT_EQ(tries, 2u) << requests();
}

// The test authority of update_server.py --tls, trusted by the machine while
// this lives. Wine (8.0) accepts a certificate added through the system
// store "Root" but shows it to no chain; the registry store behind it does,
// once committed. A process's chains keep the roots they first saw, so this
// must come before the program's first HTTPS transfer.
class TrustedTestAuthority {
public:
    explicit TrustedTestAuthority(const std::string& certificateFile) {
        const std::string der = readFile(certificateFile);
        if (der.empty() ||
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\SystemCertificates\\Root", 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.receive(),
                            nullptr) != ERROR_SUCCESS)
            return;
        store_ = CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, key_.get());
        if (store_ && !CertAddEncodedCertificateToStore(
                          store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                          static_cast<DWORD>(der.size()), CERT_STORE_ADD_NEW, &added_))
            added_ = nullptr;
        // Written to the registry only now: the chains see it from here on.
        if (added_) CertControlStore(store_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    }
    ~TrustedTestAuthority() {
        if (added_ && CertDeleteCertificateFromStore(added_))
            CertControlStore(store_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        if (store_) CertCloseStore(store_, 0);
    }
    bool trusted() const { return added_ != nullptr; }

private:
    win::RegKey key_;
    HCERTSTORE store_ = nullptr;
    PCCERT_CONTEXT added_ = nullptr;
};

TEST_F(UpdateServer, HttpsDownloadsNeedATrustedCertificate) {
    const char* issued = std::getenv("MENDORA_UPDATE_SERVER_TLS");
    const char* selfSigned = std::getenv("MENDORA_UPDATE_SERVER_UNTRUSTED");
    if (!issued || !selfSigned) GTEST_SKIP() << "run through update_server.py --tls";
    writeFile(site + "secret.bin", "sent over TLS");
    ASSERT_TRUE(prepare("Any.exe", "0"));
    TrustedTestAuthority authority(site + "test-ca.der");
    ASSERT_TRUE(authority.trusted());
    const std::string target = install.path() + "updates\\secret.bin";

    EXPECT_EQ(
        downloadFile(&handle, window, std::string(selfSigned) + "/files/secret.bin", target, 0), 0);
    EXPECT_FALSE(fileExists(target));
    EXPECT_FALSE(fileExists(target + ".part"));

    EXPECT_EQ(downloadFile(&handle, window, std::string(issued) + "/files/secret.bin", target, 0),
              1);
    EXPECT_EQ(readFile(target), "sent over TLS");
}

TEST_F(UpdateServer, TheCheckGoesThroughTheUpdateListInItsOrder) {
    publish("Mendora.exe 2\nrptrnr.dll 1\n");
    // The updater reads the key by its fixed name: the test has it to itself.
    testing_support::ScopedKeyValues update(win::kUpdateKey);
    update.setString("Mendora.exe", "1");
    update.setString("rptrnr.dll", "1");
    update.setString("Empty.exe", "");

    std::vector<LumoFile> list;
    loadUpdateList(window, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(window.statuses.back(), "Checking for updates");
    EXPECT_TRUE(CheckForUpdates(window, &handle, list));
    for (const LumoFile& file : list)
        EXPECT_EQ(file.needsUpdate, file.name == "Mendora.exe") << file.name;
    // The entry without a build is never asked about.
    EXPECT_EQ(requests().find("Empty.exe"), std::string::npos);
    EXPECT_EQ(window.traces.front(), "-CheckForUpdates() - Enter");
    EXPECT_EQ(window.traces[1], "3");
    EXPECT_EQ(window.traces.back(), "-CheckForUpdates() - Exit");
    EXPECT_EQ(window.overall.back(), 100);
}

}  // namespace
