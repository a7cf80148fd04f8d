// The copies of the files one repair backs up, in its slot's "files" folder:
// a thousand there, then a thousand in each of its sub-folders "1", "2", ...
// across all the repair's reports (under Wine every new file makes the
// platform read its whole folder, so one folder of 50,000 copies made a large
// repair quadratic).
#pragma once

#include <string>
#include <vector>

#include "repair/file_ops.h"

namespace sysrepair {

class BackupCopies {
public:
    explicit BackupCopies(const std::string& slotFolder);

    // Copies the file under a new name; false, with `copy` empty, when it
    // could not be copied.
    bool copy(const std::string& source, std::string& copy);
    // Forgets and deletes a copy that no report names.
    void discard(const std::string& copy);

    // Puts every copy made so far on the disk, so that no original is
    // deleted while its copy may still be lost with the power: one flush of
    // the volume where the platform allows it (an administrator's), else one
    // flush per copy. Returns the copies that could not be flushed.
    std::vector<std::string> flush();

private:
    std::string filesFolder_;
    UniqueNameSequence names_;
    size_t inFolder_ = 0;
    unsigned folderNumber_ = 0;
    std::vector<std::string> unflushed_;
};

}  // namespace sysrepair
