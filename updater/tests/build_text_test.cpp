// The build texts and local names a server may send.
#include <gtest/gtest.h>

#include <string>

#include "updater/build_text.h"
#include "updater/local_name.h"

namespace updater {
namespace {

TEST(BuildText, ComparedAsDottedNumbersAndRefusedWhenUnfit) {
    EXPECT_LT(compareBuilds("1.0.9", "1.0.10"), 0);
    EXPECT_GT(compareBuilds("2", "1.99.99"), 0);
    EXPECT_EQ(compareBuilds("1.0", "1.0.0.0"), 0);
    EXPECT_EQ(compareBuilds("1.007", "1.7"), 0);
    EXPECT_LT(compareBuilds("1.0.0.7", "1.0.0.18446744073709551616"), 0) << "no overflow";
    EXPECT_LT(compareBuilds("1.0 beta", "1.0 gamma"), 0);

    EXPECT_TRUE(isAcceptableBuildText("1.0 beta 2"));
    EXPECT_TRUE(isAcceptableBuildText(std::string(64, '9')));
    EXPECT_FALSE(isAcceptableBuildText(std::string(65, '9')));
    EXPECT_FALSE(isAcceptableBuildText(""));
    EXPECT_FALSE(isAcceptableBuildText("1.0\r\n"));
    EXPECT_FALSE(isAcceptableBuildText(std::string("1\0", 2)));
}

TEST(LocalName, OnlyPlainFileNamesThatAreNoDevices) {
    for (const char* name : {"Mendora.exe", "+~tools~x.dll", "com10", "console.txt", "nul-x"})
        EXPECT_TRUE(isSafeLocalName(name)) << name;
    for (const char* name :
         {"CON",          "nul",          "Aux.txt", "prn.exe", "COM1", "com9.dll",  "LPT1",
          "lpt9.tmp.exe", "NUL .txt",     "",        ".",       "..",   "..\\x.exe", "a/b",
          "C:x.exe",      "x.exe:stream", "x.exe.",  "x.exe ",  "a*b",  "tab\tname"})
        EXPECT_FALSE(isSafeLocalName(name)) << name;
}

}  // namespace
}  // namespace updater
