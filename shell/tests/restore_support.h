// What the restore tests share: an install folder of their own with the
// repair engine beside it, categories whose entries the test chooses, and
// snapshots of registry trees and values to compare before and after.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/message_box.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/test_files.h"
#include "scan/task.h"

namespace restore_testing {

// A category that is not registered with the task manager and holds copies
// of the entries it is given: a repair of it touches only those.
class HeldProblems : public sysrepair::ITask {
public:
    HeldProblems(std::string name, std::string description)
        : name_(std::move(name)), description_(std::move(description)) {}

    void hold(const sysrepair::TaskEntry& entry) {
        entries_.push_back(std::make_unique<sysrepair::TaskEntry>(entry));
    }

    void getEntries(std::vector<sysrepair::TaskEntry*>& out) override;
    uint32_t problemCount() override { return static_cast<uint32_t>(entries_.size()); }
    float progress() override { return 0; }
    std::string statusText() override { return {}; }
    uint8_t level() override { return 2; }
    std::string name() override { return name_; }
    std::string description() override { return description_; }
    bool scan() override { return true; }
    bool restoreEntry(const sysrepair::TaskEntry* entry) override;
    bool isRunning() override { return false; }
    void reset() override { entries_.clear(); }
    void cancel() override {}
    bool marker() override { return true; }

private:
    std::string name_;
    std::string description_;
    std::vector<std::unique_ptr<sysrepair::TaskEntry>> entries_;
};

// Mendora installed in a test folder: the App Paths entry points at it, the
// repair engine lies in it and the free-space check always passes. Message
// boxes are recorded and answered with OK.
class TestInstallation {
public:
    TestInstallation();
    ~TestInstallation();
    TestInstallation(const TestInstallation&) = delete;
    TestInstallation& operator=(const TestInstallation&) = delete;

    // With a trailing backslash.
    const std::string& folder() const { return folder_.path(); }
    // Repairs the categories with the engine of the install folder.
    void repair(const std::vector<sysrepair::ITask*>& categories);

    std::vector<win::MessageBoxRequest> messages;

private:
    testing_support::ScopedTestFolder folder_;
    testing_support::ScopedAppPathsEntry entry_;
};

using RegValue = std::pair<DWORD, std::string>;  // type and bytes
// Every key of a tree by its path below the tree's key ("" for the key
// itself), with its values by name.
using RegTree = std::map<std::string, std::map<std::string, RegValue>>;

// False when the value cannot be read.
bool readValue(HKEY root, const std::string& key, const std::string& name, RegValue& value);
RegTree snapshotTree(HKEY root, const std::string& key);

}  // namespace restore_testing
