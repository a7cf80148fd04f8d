#include "scan/walk/path_runner.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/tests/support/test_files.h"

using namespace sysrepair;
using testing::ElementsAre;
using testing::UnorderedElementsAre;
using testing_support::ScopedTestFolder;
using testing_support::writeFile;

namespace {

std::vector<std::string> walk(const std::string& root) {
    PathRunner runner;
    runner.setRoot(root);
    std::vector<std::string> paths;
    for (std::string p = runner.next(); !p.empty(); p = runner.next()) {
        paths.push_back(p);
        if (paths.size() > 100000) break;  // a walk without end fails below
    }
    return paths;
}

void makeFolder(const std::string& path) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
}

bool isFolder(const std::string& path) {
    return !path.empty() && path.back() == '\\';
}

std::string parentOf(const std::string& path) {
    std::string trimmed = isFolder(path) ? path.substr(0, path.size() - 1) : path;
    return trimmed.substr(0, trimmed.rfind('\\') + 1);
}

// Checks the shape of a depth-first walk whose listing order is the file
// system's: each folder is followed by its own files, then by the whole walks
// of its sub-folders one after the other.
void expectWalkOrder(const std::vector<std::string>& paths) {
    ASSERT_FALSE(paths.empty());
    std::vector<std::string> open;  // the folders whose walks are running
    std::set<std::string> finished;
    for (const std::string& p : paths) {
        const std::string parent = parentOf(p);
        while (!open.empty() && open.back() != parent) {
            finished.insert(open.back());
            open.pop_back();
        }
        if (&p != &paths.front()) {
            ASSERT_FALSE(open.empty()) << p << " outside the walk of its folder";
        }
        if (isFolder(p)) {
            ASSERT_EQ(finished.count(p), 0u) << p << " walked twice";
            open.push_back(p);
        } else {
            // A file comes before any sub-folder of its folder.
            ASSERT_TRUE(isFolder(paths.front()));
            const std::string& previous = *(&p - 1);
            EXPECT_TRUE(previous == parent || (!isFolder(previous) && parentOf(previous) == parent))
                << p << " after " << previous;
        }
    }
}

TEST(PathRunner, MissingFolderEndsAtOnce) {
    ScopedTestFolder folder;
    PathRunner runner;
    runner.setRoot(folder.path() + "missing");
    EXPECT_EQ(runner.next(), "");
    EXPECT_EQ(runner.next(), "");
}

TEST(PathRunner, FileIsYieldedOnce) {
    ScopedTestFolder folder;
    writeFile(folder.path() + "one.txt", "x");
    PathRunner runner;
    runner.setRoot(folder.path() + "one.txt");
    EXPECT_EQ(runner.next(), folder.path() + "one.txt");
    EXPECT_EQ(runner.next(), "");
    EXPECT_EQ(runner.next(), "");
}

TEST(PathRunner, FolderFilesComeBeforeSubFolderWalks) {
    ScopedTestFolder folder;
    const std::string root = folder.path() + "tree\\";
    makeFolder(root);
    makeFolder(root + "s");
    writeFile(root + "a", "a");
    writeFile(root + "s\\c", "c");
    writeFile(root + "b", "b");

    const std::vector<std::string> paths = walk(root);
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths[0], root);
    EXPECT_THAT(std::vector<std::string>(paths.begin() + 1, paths.begin() + 3),
                UnorderedElementsAre(root + "a", root + "b"));
    EXPECT_THAT(std::vector<std::string>(paths.begin() + 3, paths.end()),
                ElementsAre(root + "s\\", root + "s\\c"));
}

TEST(PathRunner, RootWithoutOrWithSeparatorWalksTheSame) {
    ScopedTestFolder folder;
    const std::string root = folder.path() + "r";
    makeFolder(root);
    writeFile(root + "\\f", "");
    const std::vector<std::string> expected = {root + "\\", root + "\\f"};
    EXPECT_EQ(walk(root), expected);
    EXPECT_EQ(walk(root + "\\"), expected);
    EXPECT_THAT(walk(root + "/"), ElementsAre(root + "/", root + "/f"));
}

TEST(PathRunner, EmptyFolderYieldsItselfOnly) {
    ScopedTestFolder folder;
    EXPECT_THAT(walk(folder.path()), ElementsAre(folder.path()));
}

TEST(PathRunner, DeepTreeIsWalkedCompletelyDepthFirst) {
    ScopedTestFolder folder;
    const std::string root = folder.path();
    std::set<std::string> expected = {root};
    for (int i = 0; i < 3; ++i) {
        const std::string level1 = root + "d" + std::to_string(i) + "\\";
        makeFolder(level1);
        expected.insert(level1);
        for (int j = 0; j < 3; ++j) {
            const std::string level2 = level1 + "e" + std::to_string(j) + "\\";
            makeFolder(level2);
            expected.insert(level2);
            makeFolder(level2 + "empty");
            expected.insert(level2 + "empty\\");
            for (int k = 0; k < 4; ++k) {
                const std::string file = level2 + "f" + std::to_string(k) + ".dat";
                writeFile(file, "");
                expected.insert(file);
            }
        }
        writeFile(level1 + "top.txt", "");
        expected.insert(level1 + "top.txt");
    }
    // Hidden and system entries are walked like any other.
    writeFile(root + "hidden.sys", "");
    SetFileAttributesA((root + "hidden.sys").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    expected.insert(root + "hidden.sys");

    const std::vector<std::string> paths = walk(root);
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()), expected);
    EXPECT_EQ(paths.size(), expected.size()) << "a path came twice";
    expectWalkOrder(paths);
    SetFileAttributesA((root + "hidden.sys").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
