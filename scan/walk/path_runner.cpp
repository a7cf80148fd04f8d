#include "scan/walk/path_runner.h"

namespace sysrepair {

namespace {

bool isDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

PathRunner::PathRunner() : rootPath("\\") {}

PathRunner::~PathRunner() = default;

void PathRunner::setRoot(const std::string& path) {
    rootPath = path;
    if (rootPath.empty() || (rootPath.back() != '\\' && rootPath.back() != '/')) rootPath += '\\';
}

std::string PathRunner::next() {
    if (!listing && !exhausted) return start();
    while (listing) {
        if (!readEntry()) {
            closeListing();
            break;
        }
        if (isDotEntry(entry->cFileName)) continue;
        std::string path = rootPath + entry->cFileName;
        if (!(entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return path;
        // A junction or mounted folder may lead back up the tree (a walk
        // without end) or onto another drive walked on its own; it is not
        // descended into.
        if (entry->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        auto child = std::make_unique<PathRunner>();
        child->setRoot(path);
        child->knownFolder = true;
        children.push_back(std::move(child));
    }
    while (!children.empty()) {
        std::string path = children.front()->next();
        if (!path.empty()) return path;
        children.pop_front();
    }
    return std::string();
}

std::string PathRunner::start() {
    if (!fileReturned && !knownFolder) {
        std::string file = rootPath.substr(0, rootPath.size() - 1);
        DWORD attributes = GetFileAttributesA(file.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            fileReturned = true;
            return file;
        }
    }
    if (openListing()) return rootPath;
    exhausted = true;
    return std::string();
}

bool PathRunner::openListing() {
    std::string pattern = rootPath + "*";
    entry = std::make_unique<WIN32_FIND_DATAA>();
    // Without the short names, in large fetches: what a walk needs, and
    // the fastest listing the platform offers. Windows before 7 knows
    // neither option and gets the plain listing.
    listing.reset(FindFirstFileExA(pattern.c_str(), FindExInfoBasic, entry.get(),
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!listing && GetLastError() == ERROR_INVALID_PARAMETER)
        listing.reset(FindFirstFileA(pattern.c_str(), entry.get()));
    if (listing) {
        entryPending = true;
        return true;
    }
    entry.reset();
    // A folder without even "." and ".." (an empty drive root) lists nothing:
    // it is walked, with nothing in it.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) {
        DWORD attributes = GetFileAttributesA(rootPath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            exhausted = true;
            return true;
        }
    }
    return false;
}

bool PathRunner::readEntry() {
    if (entryPending) {
        entryPending = false;
        return true;
    }
    return FindNextFileA(listing.get(), entry.get()) != FALSE;
}

void PathRunner::closeListing() {
    listing.reset();
    entry.reset();
    exhausted = true;
}

}  // namespace sysrepair
