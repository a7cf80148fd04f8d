// Folders and files of a test's own, removed when the test ends.
#pragma once

#include <string>

namespace testing_support {

class ScopedTestFolder {
public:
    // Makes a new folder below the Windows temporary folder.
    ScopedTestFolder();
    ~ScopedTestFolder();
    ScopedTestFolder(const ScopedTestFolder&) = delete;
    ScopedTestFolder& operator=(const ScopedTestFolder&) = delete;

    // With a trailing backslash.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A file of the user's own that a test writes (such as the chat details in
// the application-data folder): set aside at the start, back at the end, and
// whatever the test left there in its place is removed.
class ScopedFileAside {
public:
    explicit ScopedFileAside(std::string path);
    ~ScopedFileAside();
    ScopedFileAside(const ScopedFileAside&) = delete;
    ScopedFileAside& operator=(const ScopedFileAside&) = delete;

private:
    std::string path_;
    bool setAside_ = false;
};

void writeFile(const std::string& path, const std::string& contents);
// The file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// The folder of the running test program, with a trailing backslash, where
// the build puts what the program needs beside it.
std::string ownProgramFolder();
// Its file name, such as "repair_tests.exe".
std::string ownProgramName();
bool folderExists(const std::string& path);
// Removes a folder with everything in it.
void removeTree(const std::string& path);

// Sets the file's last access to now plus `days` (negative: in the past);
// false when the file cannot be changed.
bool setLastAccess(const std::string& path, int days);
// Writes a file that was last used two days ago: a problem for the scanners
// of unused files.
void writeOldFile(const std::string& path);
// Copies the test program's repair engine (rptrnr.dll) into an install
// folder as a file used today: a copy keeps the build's last access, and an
// install folder below the temporary folder, built the day before, would
// give Drive Cleaner one more unused file.
bool copyRepairEngine(const std::string& installFolder);
// Saves a shell link to `target` (which need not exist) at `link`; false
// when it cannot be made.
bool makeShortcut(const std::string& link, const std::string& target);

}  // namespace testing_support
