#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "shell/json_text.h"

using namespace sysrepair;

namespace {

const std::vector<std::string> kNames = {
    "Custom Controls",  "Drive Cleaner",      "Installed Software", "Windows System Fonts",
    "Internet Cleaner", "Windows Help Files", "Recent Documents",   "Windows Shortcuts"};

TEST(CommandLine, SwitchesInAnyCaseWithTheirValues) {
    CommandLine line = parseCommandLine(
        "/SCAN /Categories:\"Drive Cleaner, fonts\" /report:\"C:\\My Reports\\scan.json\"");
    EXPECT_EQ(line.command, Command::Scan);
    EXPECT_EQ(line.categories, (std::vector<std::string>{"Drive Cleaner", "fonts"}));
    EXPECT_EQ(line.reportPath, "C:\\My Reports\\scan.json");
    line = parseCommandLine("-repair -categories:drive,SHORTCUTS");
    EXPECT_EQ(line.command, Command::Repair);
    line = parseCommandLine("/restore:2");
    EXPECT_EQ(line.command, Command::Restore);
    EXPECT_EQ(line.restoreNumber, 2);
    EXPECT_EQ(parseCommandLine("/Restore").restoreNumber, 0);
    EXPECT_EQ(parseCommandLine("/backups /report:b.json").command, Command::Backups);
    EXPECT_EQ(parseCommandLine("/?").command, Command::Usage);
    // A quoted path that ends with a backslash keeps it.
    EXPECT_EQ(splitArguments("/report:\"C:\\dir\\\\\" /scan"),
              (std::vector<std::string>{"/report:C:\\dir\\", "/scan"}));
}

TEST(CommandLine, WithoutASwitchTheWindowStartsAsAlways) {
    EXPECT_EQ(parseCommandLine("").command, Command::Window);
    EXPECT_TRUE(parseCommandLine("-source=vs").stayOnTop);
    EXPECT_FALSE(parseCommandLine("-source=vs ").stayOnTop) << "only the exact text";
    EXPECT_EQ(parseCommandLine("-source=vs2").command, Command::Window);
    EXPECT_EQ(parseCommandLine("anything else").command, Command::Window);
}

TEST(CommandLine, BadSwitchesAreRefusedWithTheirReason) {
    for (const char* bad :
         {"/scna", "/scan /repair", "/scan /scan", "/restore:0", "/restore:31", "/restore:x",
          "/restore:2)/report", "/restore:1234", "/restore:1 /categories:drive",
          "/backups /categories:drive", "/categories:drive", "/report:r.json",
          "/scan /categories:", "/scan /report:", "/scan stray", "/? /report:r", "/scan:now"}) {
        const CommandLine line = parseCommandLine(bad);
        EXPECT_EQ(line.command, Command::Bad) << bad;
        EXPECT_FALSE(line.problem.empty()) << bad;
    }
}

TEST(CommandLine, CategoriesByNameOrShortName) {
    std::vector<bool> chosen;
    std::string unknown;
    ASSERT_TRUE(chooseCategories({"drive", "WINDOWS SHORTCUTS", "Fonts"}, kNames, chosen, unknown));
    EXPECT_EQ(chosen, (std::vector<bool>{false, true, false, true, false, false, false, true}));
    EXPECT_FALSE(chooseCategories({"help", "disk"}, kNames, chosen, unknown));
    EXPECT_EQ(unknown, "disk");
    for (const std::string& name : kNames)
        EXPECT_NE(usageText().find(categoryShortName(name) + " "), std::string::npos) << name;
}

TEST(JsonText, EscapesWhatJsonNeedsAndNestsCleanly) {
    EXPECT_EQ(jsonString("C:\\a \"b\"\n\x01\x1f\xc3\xa9"),
              "\"C:\\\\a \\\"b\\\"\\n\\u0001\\u001f\xc3\xa9\"");
    JsonWriter json;
    json.beginObject()
        .key("list")
        .beginArray()
        .number(-1)
        .boolean(true)
        .beginObject()
        .endObject()
        .endArray()
        .key("empty")
        .beginArray()
        .endArray()
        .endObject();
    EXPECT_EQ(json.text(),
              "{\n  \"list\": [\n    -1,\n    true,\n    {}\n  ],\n  \"empty\": []\n}\n");
}

}  // namespace
