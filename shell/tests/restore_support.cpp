#include "shell/tests/restore_support.h"

#include <gtest/gtest.h>

#include "common/registry_reader_writer.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/test_registry.h"
#include "common/ui/application.h"
#include "repair/repair_engine.h"
#include "repair/repair_run.h"
#include "repair/settings.h"
#include "scan/entry_restore.h"
#include "shell/working_form.h"

namespace restore_testing {

namespace {

void snapshotInto(HKEY root, const std::string& key, const std::string& below, RegTree& tree) {
    auto& values = tree[below];
    win::RegistryReaderWriter reg;
    reg.setRoot(root);
    reg.setKey(key);
    bool ok = false;
    if (reg.openValues()) {
        for (std::string name = reg.nextValueName(ok); ok; name = reg.nextValueName(ok)) {
            RegValue value;
            if (readValue(root, key, name, value)) values[name] = value;
        }
    }
    std::vector<std::string> subkeys;
    if (reg.openSubkeys())
        for (std::string name = reg.nextSubkeyName(ok); ok; name = reg.nextSubkeyName(ok))
            subkeys.push_back(name);
    for (const std::string& name : subkeys)
        snapshotInto(root, key + "\\" + name, below + "\\" + name, tree);
}

}  // namespace

void HeldProblems::getEntries(std::vector<sysrepair::TaskEntry*>& out) {
    out.clear();
    for (const auto& entry : entries_) out.push_back(entry.get());
}

bool HeldProblems::restoreEntry(const sysrepair::TaskEntry* entry) {
    return sysrepair::restoreTaskEntry(entry);
}

TestInstallation::TestInstallation() : entry_(useOwnInstallEntry(), folder_.path()) {
    // As at program start: this thread is the user-interface thread, not the
    // working window's thread, which may make the first window.
    ui::Application::initialize();
    EXPECT_TRUE(CopyFileA((testing_support::ownProgramFolder() + "rptrnr.dll").c_str(),
                          (folder() + "rptrnr.dll").c_str(), FALSE));
    sysrepair::setFreeSpaceQuery([](const std::string&, uint64_t& bytes) {
        bytes = 1ull << 50;
        return true;
    });
    win::setMessageBoxHandler([this](const win::MessageBoxRequest& request) {
        messages.push_back(request);
        return IDOK;
    });
}

TestInstallation::~TestInstallation() {
    sysrepair::releaseSettings();
    win::setMessageBoxHandler(nullptr);
    sysrepair::setFreeSpaceQuery(nullptr);
}

void TestInstallation::repair(const std::vector<sysrepair::ITask*>& categories) {
    sysrepair::RepairEngine engine;
    ASSERT_EQ(engine.bind(sysrepair::getSettings()->installFolder()),
              sysrepair::RepairEngine::Binding::Bound);
    sysrepair::WorkingWindow working;
    sysrepair::runRepair(categories, engine, working);
    engine.unbind();
}

bool readValue(HKEY root, const std::string& key, const std::string& name, RegValue& value) {
    win::RegistryReaderWriter reg;
    reg.setRoot(root);
    reg.setKey(key);
    DWORD type = 0, size = 0;
    if (reg.readRaw(nullptr, type, size, name) != ERROR_SUCCESS) return false;
    std::string bytes(size, '\0');
    if (reg.readRaw(size ? &bytes[0] : nullptr, type, size, name) != ERROR_SUCCESS) return false;
    bytes.resize(size);
    value = RegValue(type, bytes);
    return true;
}

RegTree snapshotTree(HKEY root, const std::string& key) {
    RegTree tree;
    if (testing_support::keyExists(root, key)) snapshotInto(root, key, "", tree);
    return tree;
}

}  // namespace restore_testing
