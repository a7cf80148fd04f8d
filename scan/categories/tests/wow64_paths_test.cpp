#include "scan/categories/wow64_paths.h"

#include <gtest/gtest.h>

#include <map>

using namespace sysrepair;

namespace {

// A 64-bit program's environment on a machine with Windows in C:\Windows.
const std::map<std::string, std::string> kEnvironment = {
    {"SystemRoot", "C:\\Windows"},
    {"windir", "C:\\Windows"},
    {"ProgramFiles", "C:\\Program Files"},
    {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
};

bool lookup(const std::string& name, std::string& value) {
    for (const auto& entry : kEnvironment) {
        if (entry.first.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < name.size(); ++i)
            same = same && tolower(static_cast<unsigned char>(name[i])) ==
                               tolower(static_cast<unsigned char>(entry.first[i]));
        if (same) {
            value = entry.second;
            return true;
        }
    }
    return false;
}

const Wow64Folders kFolders = {"C:\\Windows", "C:\\Program Files (x86)",
                               "C:\\Program Files (x86)\\Common Files"};

// The path a 32-bit program opens, or "(uncertain)".
std::string seen(const std::string& text, const Wow64Folders& folders = kFolders) {
    std::string path;
    return pathAs32BitProgramSeesIt(text, folders, lookup, path) ? path : "(uncertain)";
}

TEST(Wow64Paths, SystemFoldersAndProgramFilesReadAsA32BitProgramSeesThem) {
    EXPECT_EQ(seen("\"%SystemRoot%\\System32\\x.dll\""), "C:\\Windows\\SysWOW64\\x.dll");
    EXPECT_EQ(seen("c:\\WINDOWS\\system32\\sub\\y.ocx"), "c:\\WINDOWS\\SysWOW64\\sub\\y.ocx");
    EXPECT_EQ(seen("C:/Windows/System32/drivers/z.sys"), "C:\\Windows\\SysWOW64\\drivers\\z.sys");
    EXPECT_EQ(seen("%windir%\\Sysnative\\n.dll"), "C:\\Windows\\System32\\n.dll");
    EXPECT_EQ(seen("C:\\Windows\\Temp\\..\\System32\\.\\d.dll"), "C:\\Windows\\SysWOW64\\d.dll");
    // Only the folder System32 itself moves, and only on the Windows drive.
    EXPECT_EQ(seen("C:\\Windows\\System32Extra\\e.dll"), "C:\\Windows\\System32Extra\\e.dll");
    EXPECT_EQ(seen("D:\\Windows\\System32\\f.dll"), "D:\\Windows\\System32\\f.dll");
    EXPECT_EQ(seen("%ProgramFiles%\\App\\a.exe"), "C:\\Program Files (x86)\\App\\a.exe");
    EXPECT_EQ(seen("%CommonProgramFiles%\\b.dll"), "C:\\Program Files (x86)\\Common Files\\b.dll");
    // A literal path names the folder it names: the file system does not
    // redirect Program Files.
    EXPECT_EQ(seen("C:\\Program Files\\Other\\c.dll"), "C:\\Program Files\\Other\\c.dll");
    EXPECT_EQ(seen("\\\\server\\share\\g.dll"), "\\\\server\\share\\g.dll");
}

TEST(Wow64Paths, WhatOnlyTheProgramsOwnSearchOrWindowsVersionDecidesIsUncertain) {
    for (const char* text :
         {"bare.dll", "sub\\rel.dll", "C:rel.dll", "\\rooted.dll", "%Undefined%\\u.dll",
          "%%\\v.dll", "\\\\?\\C:\\Windows\\w.dll", "\\\\.\\pipe\\p", "\\\\server"})
        EXPECT_EQ(seen(text), "(uncertain)") << text;
    // The folders of System32 that Windows leaves unredirected.
    for (const char* text :
         {"%SystemRoot%\\System32\\drivers\\etc\\hosts",
          "C:\\Windows\\System32\\spool\\drivers\\s.dll", "C:\\Windows\\system32\\CatRoot\\c.cat",
          "C:\\Windows\\System32\\catroot2\\d.log", "C:\\Windows\\System32\\LogFiles\\l.log"})
        EXPECT_EQ(seen(text), "(uncertain)") << text;
    // A folder the machine does not name cannot be stood in for.
    Wow64Folders unknown = kFolders;
    unknown.programFilesX86.clear();
    EXPECT_EQ(seen("%ProgramFiles%\\App\\a.exe", unknown), "(uncertain)");
    unknown.windows.clear();
    EXPECT_EQ(seen("C:\\Windows\\System32\\x.dll", unknown), "(uncertain)");
}

}  // namespace
