// The query addresses and the list answers, as plain texts.
#include "updater/update_query.h"

#include <gtest/gtest.h>

namespace updater {
namespace {

TEST(UpdateQuery, AddressesAndListAnswersAsTheServerSpeaksThem) {
    EXPECT_EQ(queryAddress("http://u/download.asp", QueryMode::Check, "Mendora.exe", "1.0.0",
                           "Mendora.exe", "1.0 beta 2"),
              "http://u/download.asp?mode=check&app=Mendora.exe&ver=1.0.0&file=Mendora.exe"
              "&build=1.0+beta 2");
    EXPECT_EQ(queryAddress("b", QueryMode::List, "a b", "v", "f", "1"),
              "b?mode=list&app=a+b&ver=v&file=f&build=1");

    // The address keeps its commas; a last comma is no separator.
    ListAnswer fields = parseListAnswer("7,Mendora.exe,1.0.0.8,mendora.exe,http://h/a,b,c");
    EXPECT_EQ(fields.newBuild, "1.0.0.8");
    EXPECT_EQ(fields.localName, "mendora.exe");
    EXPECT_EQ(fields.downloadAddress, "http://h/a,b,c");
    fields = parseListAnswer("7,M,1.0.0.8,m.exe,");
    EXPECT_EQ(fields.localName, "");
    EXPECT_EQ(fields.downloadAddress, "7,M,1.0.0.8,m.exe,");
    // Fewer commas: what has no start begins at the first character.
    fields = parseListAnswer("7,M,1.0.0.8");
    EXPECT_EQ(fields.newBuild, "");
    EXPECT_EQ(fields.localName, "");
    EXPECT_EQ(fields.downloadAddress, "7,M,1.0.0.8");
    fields = parseListAnswer("http://h/f");
    EXPECT_EQ(fields.newBuild, "");
    EXPECT_EQ(fields.downloadAddress, "http://h/f");
}

}  // namespace
}  // namespace updater
