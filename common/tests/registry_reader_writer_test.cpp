#include "common/registry_reader_writer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/tests/support/test_registry.h"

using testing_support::ScopedTestKey;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() {
        reg.setRoot(key.root());
        reg.setKey(key.path());
    }
    ScopedTestKey key;
    win::RegistryReaderWriter reg;
};

TEST(RegistryWithoutKey, EveryReadFailsAndReportsNull) {
    win::RegistryReaderWriter reg;
    bool ok = true;
    EXPECT_EQ(reg.readString("x", ok), "null");
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_EQ(reg.readInt("x", ok), -1);
    EXPECT_FALSE(ok);
    DWORD type = 0, size = 0;
    EXPECT_EQ(reg.readRaw(nullptr, type, size, "x"), -1);
    EXPECT_FALSE(reg.openValues());
    EXPECT_FALSE(reg.openSubkeys());
    ok = true;
    EXPECT_EQ(reg.nextValueName(ok), "null");
    EXPECT_FALSE(ok);
}

TEST_F(RegistryTest, ReadsOfAMissingKeyOrValueFail) {
    bool ok = true;
    EXPECT_EQ(reg.readString("absent", ok), "null");
    EXPECT_FALSE(ok);
    EXPECT_FALSE(reg.valueExists("absent"));
    EXPECT_FALSE(reg.deleteValue("absent"));

    win::RegistryReaderWriter other;
    other.setRoot(key.root());
    other.setKey(key.path() + "\\no such key");
    ok = true;
    EXPECT_EQ(other.readInt("x", ok), -1);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(other.deleteValue("x"));
    EXPECT_FALSE(other.openValues());
}

TEST_F(RegistryTest, StringsRoundTripUpToTheBufferSize) {
    bool ok = false;
    ASSERT_TRUE(reg.writeString("C:\\Program Files\\Mendora\\", "Path"));
    EXPECT_EQ(reg.readString("Path", ok), "C:\\Program Files\\Mendora\\");
    EXPECT_TRUE(ok);

    const std::string longest(259, 'a');  // 259 bytes and the terminator fill the buffer
    ASSERT_TRUE(reg.writeString(longest, "longest"));
    EXPECT_EQ(reg.readString("longest", ok), longest);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(reg.valueExists("longest"));
}

TEST_F(RegistryTest, ValueOfThreeHundredBytesIsTooLongAndCountsAsAbsent) {
    const std::string text(299, 'b');
    key.setString("big", text);
    bool ok = true;
    EXPECT_EQ(reg.readString("big", ok), "null");
    EXPECT_FALSE(ok);
    EXPECT_FALSE(reg.valueExists("big"));
}

TEST_F(RegistryTest, ValueFillingTheBufferWithoutTerminatorStopsAtTheBufferEnd) {
    const std::string bytes(260, 'c');
    key.setValue("full", REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    bool ok = false;
    EXPECT_EQ(reg.readString("full", ok), bytes);
    EXPECT_TRUE(ok);
}

TEST_F(RegistryTest, EmptyStringIsWrittenAsTheTerminatorAlone) {
    ASSERT_TRUE(reg.writeString("", "empty"));
    DWORD type = 0, size = 0;
    EXPECT_EQ(reg.readRaw(nullptr, type, size, "empty"), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, 1u);
}

TEST_F(RegistryTest, ReadIntTakesTheFirstFourBytesOfAnyType) {
    bool ok = false;
    ASSERT_TRUE(reg.writeInt(-123456, "dword"));
    EXPECT_EQ(reg.readInt("dword", ok), -123456);
    EXPECT_TRUE(ok);

    key.setString("ab", "ab");  // 'a', 'b', 0: missing high byte is zero
    EXPECT_EQ(reg.readInt("ab", ok), 0x6261);
    EXPECT_TRUE(ok);
    key.setString("abc", "abc");  // exactly four bytes with the terminator
    EXPECT_EQ(reg.readInt("abc", ok), 0x00636261);
    EXPECT_TRUE(ok);

    key.setString("abcd", "abcd");  // five bytes: too long
    EXPECT_EQ(reg.readInt("abcd", ok), -1);
    EXPECT_FALSE(ok);
}

TEST_F(RegistryTest, RawValuesKeepTypeAndBytes) {
    const unsigned char bytes[] = {'x', 0, 'y', 0, 0};
    ASSERT_TRUE(reg.writeRaw(bytes, REG_MULTI_SZ, sizeof bytes, "multi"));
    DWORD type = 0, size = 0;
    ASSERT_EQ(reg.readRaw(nullptr, type, size, "multi"), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_MULTI_SZ));
    ASSERT_EQ(size, sizeof bytes);

    unsigned char small[2];
    DWORD smallSize = sizeof small;
    EXPECT_EQ(reg.readRaw(small, type, smallSize, "multi"), ERROR_MORE_DATA);

    unsigned char back[sizeof bytes] = {};
    ASSERT_EQ(reg.readRaw(back, type, size, "multi"), ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), size),
              std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
}

TEST_F(RegistryTest, WritesCreateMissingKeysAndDeleteRemovesTheValue) {
    win::RegistryReaderWriter deep;
    deep.setRoot(key.root());
    deep.setKey(key.path() + "\\one\\two");
    ASSERT_TRUE(deep.writeInt(7, "n"));
    bool ok = false;
    EXPECT_EQ(deep.readInt("n", ok), 7);
    EXPECT_TRUE(deep.deleteValue("n"));
    EXPECT_FALSE(deep.valueExists("n"));
    EXPECT_TRUE(testing_support::keyExists(key.root(), key.path() + "\\one\\two"));
}

TEST_F(RegistryTest, EnumerationsListEveryNameThenEnd) {
    key.setString("first", "1");
    key.setString("second", "2");
    win::RegistryReaderWriter sub;
    sub.setRoot(key.root());
    sub.setKey(key.path() + "\\childA");
    sub.writeInt(1, "x");
    sub.setKey(key.path() + "\\childB");
    sub.writeInt(1, "x");

    bool ok = true;
    EXPECT_EQ(reg.nextValueName(ok), "null");  // before openValues
    EXPECT_FALSE(ok);

    ASSERT_TRUE(reg.openValues());
    std::set<std::string> values;
    for (std::string n = reg.nextValueName(ok); ok; n = reg.nextValueName(ok)) values.insert(n);
    EXPECT_EQ(values, (std::set<std::string>{"first", "second"}));
    EXPECT_EQ(reg.nextValueName(ok), "null");  // stays at the end
    EXPECT_FALSE(ok);

    ASSERT_TRUE(reg.openSubkeys());  // replaces the value enumeration
    std::set<std::string> keys;
    for (std::string n = reg.nextSubkeyName(ok); ok; n = reg.nextSubkeyName(ok)) keys.insert(n);
    EXPECT_EQ(keys, (std::set<std::string>{"childA", "childB"}));
}

}  // namespace
