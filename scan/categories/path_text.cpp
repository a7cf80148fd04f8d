#include "scan/categories/path_text.h"

#include <windows.h>

#include <vector>

#include "scan/categories/wow64_paths.h"

namespace sysrepair {

namespace {

// The variable's value of any length; empty when it is undefined.
std::string environmentVariable(const std::string& name) {
    if (name.empty()) return std::string();
    std::vector<char> buffer(260);
    for (;;) {
        const DWORD n =
            GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(n + 1);  // n is the size needed, terminator included
    }
}

bool definedVariable(const std::string& name, std::string& value) {
    value = environmentVariable(name);
    // An empty variable still asks for room for its terminator.
    return !value.empty() || GetEnvironmentVariableA(name.c_str(), nullptr, 0) != 0;
}

enum class FileCheck { Exists, Missing, Unknown };

FileCheck checkFile(const std::string& path) {
    if (path.size() >= MAX_PATH) return FileCheck::Unknown;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileCheck::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileCheck::Missing : FileCheck::Exists;
}

}  // namespace

std::string expandText(const std::string& text) {
    bool defined = false;
    return expandVariables(text, definedVariable, defined);
}

bool fileExistsOnPath(const std::string& path) {
    FileCheck direct = checkFile(path);
    if (direct != FileCheck::Missing) return true;
    const std::string folders = environmentVariable("Path");
    std::string::size_type start = 0;
    while (start <= folders.size() && !folders.empty()) {
        std::string::size_type end = folders.find(';', start);
        if (end == std::string::npos) end = folders.size();
        if (checkFile(folders.substr(start, end - start) + "\\" + path) != FileCheck::Missing)
            return true;
        start = end + 1;
    }
    return false;
}

bool referencedPath(const std::string& text, bool of32BitView, std::string& path) {
    if (!of32BitView) {
        path = expandText(text);
        return true;
    }
    // What the folders are does not change while Mendora runs.
    static const Wow64Folders folders = {environmentVariable("SystemRoot"),
                                         environmentVariable("ProgramFiles(x86)"),
                                         environmentVariable("CommonProgramFiles(x86)")};
    return pathAs32BitProgramSeesIt(text, folders, definedVariable, path);
}

bool referencedFileExists(const std::string& path, bool of32BitView) {
    return of32BitView ? checkFile(path) != FileCheck::Missing : fileExistsOnPath(path);
}

}  // namespace sysrepair
