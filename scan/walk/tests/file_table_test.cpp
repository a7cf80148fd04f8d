#include "scan/walk/file_table.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "common/tests/support/test_files.h"
#include "scan/walk/path_store.h"

using namespace sysrepair;
using testing_support::ScopedTestFolder;
using testing_support::writeFile;

namespace {

TEST(PathStore, FindsExactlyTheTextsAdded) {
    PathStore store;
    EXPECT_FALSE(store.contains(""));
    EXPECT_FALSE(store.contains("C:\\"));
    // Enough texts to grow the index several times.
    const int count = 20000;
    for (int i = 0; i < count; ++i)
        store.add("C:\\Folder" + std::to_string(i % 97) + "\\f" + std::to_string(i));
    ASSERT_EQ(store.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string text = "C:\\Folder" + std::to_string(i % 97) + "\\f" + std::to_string(i);
        ASSERT_TRUE(store.contains(text)) << text;
        ASSERT_EQ(store.at(i), text);
        // Near misses: a prefix, an extra byte, another case, another folder.
        ASSERT_FALSE(store.contains(text.substr(0, text.size() - 1) + "x")) << text;
        ASSERT_FALSE(store.contains(text + "\\")) << text;
        ASSERT_FALSE(store.contains("c" + text.substr(1))) << text;
        ASSERT_FALSE(store.contains("C:\\Folder" + std::to_string((i + 1) % 97) + "\\f" +
                                    std::to_string(i)));
    }
    EXPECT_FALSE(store.contains("C:\\Folder0"));
    EXPECT_FALSE(store.contains(std::string("C:\\Folder0\\f0\0x", 16)));
}

TEST(PathStore, KeepsRepeatsLongTextsAndEmptiesOnClear) {
    PathStore store;
    // Texts that span storage blocks, fill one exactly, or need a new one.
    const std::string longText(3 << 20, 'L');
    const std::string blockText((1 << 20) - 1, 'B');
    const std::string overText(1 << 20, 'O');
    store.add("a");
    store.add(longText);
    store.add("a");
    store.add("");
    store.add("b");
    store.add(blockText);
    store.add(overText);
    store.add("c");
    ASSERT_EQ(store.size(), 8u);
    EXPECT_EQ(store.at(1), longText);
    EXPECT_EQ(store.at(2), "a");
    EXPECT_EQ(store.at(4), "b");
    EXPECT_EQ(store.at(5), blockText);
    EXPECT_EQ(store.at(6), overText);
    EXPECT_EQ(store.at(7), "c");
    EXPECT_TRUE(store.contains(blockText));
    EXPECT_TRUE(store.contains(overText));
    EXPECT_FALSE(store.contains(overText + "O"));
    EXPECT_TRUE(store.contains(longText));
    EXPECT_TRUE(store.contains(""));
    EXPECT_FALSE(store.contains(longText.substr(1)));
    // Memory follows the text held.
    EXPECT_GE(store.memoryBytes(), longText.size());
    store.clear();
    EXPECT_EQ(store.size(), 0u);
    EXPECT_FALSE(store.contains("a"));
    EXPECT_LT(store.memoryBytes(), 1024u);
    store.add("c");
    EXPECT_TRUE(store.contains("c"));
}

void makeFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
}

TEST(FileTable, CollectsEveryRootInOrder) {
    ScopedTestFolder folder;
    const std::string first = folder.path() + "first\\";
    const std::string second = folder.path() + "second\\";
    makeFolder(first);
    makeFolder(second);
    makeFolder(second + "Sub");
    writeFile(first + "one.txt", "");
    writeFile(second + "Sub\\two.txt", "");

    FileTable table;
    EXPECT_FALSE(table.isComplete());
    EXPECT_EQ(table.currentPath(), "");
    table.addRoot(first);
    table.addRoot(second.substr(0, second.size() - 1));
    table.addRoot(folder.path() + "missing");
    table.build();

    EXPECT_TRUE(table.isComplete());
    EXPECT_FALSE(table.isBuilding());
    const std::vector<std::string> expected = {first, first + "one.txt", second, second + "Sub\\",
                                               second + "Sub\\two.txt"};
    ASSERT_EQ(table.fileCount(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(table.fileAt(i), expected[i]);
    EXPECT_EQ(table.fileAt(expected.size()), "");
    EXPECT_EQ(table.fileAt(static_cast<std::size_t>(-1)), "");
    EXPECT_EQ(table.currentPath(), second + "Sub\\two.txt");

    EXPECT_TRUE(table.contains(second + "Sub\\two.txt"));
    EXPECT_TRUE(table.contains(first));
    EXPECT_FALSE(table.contains(second + "sub\\two.txt"));  // case-sensitive
    EXPECT_FALSE(table.contains(first.substr(0, first.size() - 1)));
    EXPECT_FALSE(table.contains(""));
}

TEST(FileTable, CancelFromAnotherThreadLeavesAnEmptyIncompleteTable) {
    ScopedTestFolder folder;
    const int folders = 20, filesPerFolder = 60;
    for (int i = 0; i < folders; ++i) {
        const std::string sub = folder.path() + "d" + std::to_string(i) + "\\";
        makeFolder(sub);
        for (int j = 0; j < filesPerFolder; ++j) writeFile(sub + std::to_string(j), "");
    }
    const std::size_t total = 1 + folders * (1 + filesPerFolder);

    FileTable table;
    table.addRoot(folder.path());
    bool sawBuilding = false;
    std::size_t countAtCancel = 0;
    std::thread watcher([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (table.fileCount() < 50 && !table.isComplete() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        sawBuilding = table.isBuilding();
        countAtCancel = table.fileCount();
        EXPECT_FALSE(table.currentPath().empty());
        table.cancel();
    });
    table.build();
    watcher.join();

    ASSERT_TRUE(sawBuilding) << "the build ended before it could be cancelled";
    EXPECT_LT(countAtCancel, total);
    EXPECT_FALSE(table.isComplete());
    EXPECT_FALSE(table.isBuilding());
    EXPECT_EQ(table.fileCount(), 0u);
    EXPECT_EQ(table.fileAt(0), "");
    EXPECT_FALSE(table.contains(folder.path()));

    // The next build starts afresh and runs to its end.
    table.build();
    EXPECT_TRUE(table.isComplete());
    EXPECT_EQ(table.fileCount(), total);
    EXPECT_TRUE(table.contains(folder.path() + "d7\\42"));
}

}  // namespace
