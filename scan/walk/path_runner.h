// A directory walker that hands out one path per call, so that a scan can stop
// between any two files.
//
// The walk of a folder R yields R itself (with its trailing backslash), then
// every file directly in R in listing order, then the whole walk of each
// sub-folder of R in listing order. Folders come with a trailing backslash,
// files without one. The walk of a file yields that file once. Each folder's
// listing is read to its end before the walk descends, so at most one listing
// is open at a time; the sub-folders still to be walked wait as child walkers.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "common/win_handles.h"

namespace sysrepair {

class PathRunner {
public:
    PathRunner();
    ~PathRunner();
    PathRunner(const PathRunner&) = delete;
    PathRunner& operator=(const PathRunner&) = delete;

    // The folder (or file) to walk. A backslash is appended unless the path
    // already ends with a backslash or a slash. A walker serves one walk.
    void setRoot(const std::string& path);

    // The next path of the walk; the empty text when nothing is left.
    std::string next();

private:
    // The first call: the root as a file, or the folder itself once its
    // listing is open; the empty text when neither.
    std::string start();
    bool openListing();
    // The entry the listing stands on; false at its end.
    bool readEntry();
    void closeListing();

    std::string rootPath;
    // Walkers of the sub-folders found here, in the order found.
    std::list<std::unique_ptr<PathRunner>> children;
    win::FindHandle listing;
    // The entry the listing stands on; held only while the listing is open,
    // since sub-folders waiting for their walk may be many.
    std::unique_ptr<WIN32_FIND_DATAA> entry;
    // `entry` holds the listing's first entry, not read yet.
    bool entryPending = false;
    bool exhausted = false;
    bool fileReturned = false;
    // Made for a sub-folder seen in a listing, so the root is known to be a
    // folder.
    bool knownFolder = false;
};

}  // namespace sysrepair
