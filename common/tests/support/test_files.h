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

void writeFile(const std::string& path, const std::string& contents);
// The file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
// Removes a folder with everything in it.
void removeTree(const std::string& path);

}  // namespace testing_support
