// The file-system operations of the backup files: existence, folder listings
// and unique file names (whole-file reads and crash-safe replacement are in
// common/file_contents.h).
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "common/file_contents.h"

namespace sysrepair {

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

// Names of the files (not folders) in a folder, in listing order. False when
// the folder cannot be listed.
bool listFileNames(const std::string& folder, std::vector<std::string>& names);

// The backup names folder\T.ext, folder\T-0.ext, folder\T-1.ext, ... where T
// is the time in decimal: the first one no file has. A sequence remembers
// where it got to within one second, so that a report with thousands of file
// copies does not test the same taken names again for every copy; the names
// are the same as a fresh search from T.ext would give.
class UniqueNameSequence {
public:
    UniqueNameSequence(std::string folder, std::string extension)
        : folder_(std::move(folder)), extension_(std::move(extension)) {}

    std::string next(std::time_t now);
    // Copies `source` to the first name of the sequence that no file has, with
    // the copy itself as the test (a copy never replaces a file), so that the
    // platform looks the new name up once instead of twice: under Wine a name
    // that is not there costs a read of the whole folder. False, with `copy`
    // empty, when the copy fails for another reason than a taken name.
    bool copyInto(const std::string& source, std::time_t now, std::string& copy);

private:
    std::string candidate(long counter) const;

    std::string folder_;
    std::string extension_;
    std::time_t lastTime_ = -1;
    long lastCounter_ = -1;  // -1 stands for the plain T.ext
};

// One unique name, searched from T.ext.
std::string uniqueFileName(const std::string& folder, const std::string& extension,
                           std::time_t now);

}  // namespace sysrepair
