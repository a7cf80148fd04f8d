#include "common/text_store.h"

#include <gtest/gtest.h>

#include <string>

using namespace sysrepair;

namespace {

TEST(TextStore, FindsExactlyTheTextsAdded) {
    TextStore store;
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

TEST(TextStore, KeepsRepeatsLongTextsAndEmptiesOnClear) {
    TextStore store;
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

TEST(TextStore, AddsANewTextOnlyOnce) {
    TextStore store;
    EXPECT_EQ(store.addNew("HKEY_CLASSES_ROOT\\CLSID"), TextStore::Added::New);
    store.add("repeat");
    store.add("repeat");
    EXPECT_EQ(store.addNew("repeat"), TextStore::Added::AlreadyThere);
    // Enough texts to grow the index while it is in use as a set.
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(store.addNew("key" + std::to_string(i)), TextStore::Added::New);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(store.addNew("key" + std::to_string(i)), TextStore::Added::AlreadyThere);
    EXPECT_EQ(store.addNew("hkey_classes_root\\clsid"), TextStore::Added::New);
    EXPECT_EQ(store.size(), 5004u);
}

}  // namespace
