#include "scan/categories/wow64_paths.h"

#include <cstddef>
#include <vector>

namespace sysrepair {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// An absolute path split into its root ("C:" or "\\server\share") and its
// folders and name, with "." and ".." resolved as Windows resolves them
// before it redirects anything. False for anything but a drive or a share.
bool splitAbsolute(std::string text, std::string& root, std::vector<std::string>& parts) {
    for (char& c : text)
        if (c == '/') c = '\\';
    std::size_t start = 0;
    if (text.size() >= 3 && ((lowerAscii(text[0]) >= 'a' && lowerAscii(text[0]) <= 'z')) &&
        text[1] == ':' && text[2] == '\\') {
        root = text.substr(0, 2);
        start = 3;
    } else if (text.size() > 2 && text[0] == '\\' && text[1] == '\\' && text[2] != '?' &&
               text[2] != '.') {
        const std::size_t server = text.find('\\', 2);
        if (server == std::string::npos || server == 2) return false;
        std::size_t share = text.find('\\', server + 1);
        if (share == std::string::npos) share = text.size();
        if (share == server + 1) return false;
        root = text.substr(0, share);
        start = share;
    } else {
        return false;
    }
    parts.clear();
    while (start < text.size()) {
        std::size_t end = text.find('\\', start);
        if (end == std::string::npos) end = text.size();
        const std::string part = text.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return true;
}

// Whether `parts` begins with all of `prefix`.
bool startsWith(const std::vector<std::string>& parts, const std::vector<std::string>& prefix) {
    if (parts.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (!sameName(parts[i], prefix[i])) return false;
    return true;
}

// The folders of System32 that 64-bit Windows leaves unredirected.
bool inUnredirectedFolder(const std::vector<std::string>& parts, std::size_t below) {
    if (parts.size() <= below) return false;
    const std::string& first = parts[below];
    for (const char* name : {"spool", "catroot", "catroot2", "logfiles"})
        if (sameName(first, name)) return true;
    return sameName(first, "drivers") && parts.size() > below + 1 &&
           sameName(parts[below + 1], "etc");
}

}  // namespace

std::string expandVariables(const std::string& text, const EnvironmentLookup& environment,
                            bool& defined) {
    defined = true;
    std::string unquoted;
    unquoted.reserve(text.size());
    for (char c : text)
        if (c != '"') unquoted += c;

    std::string result;
    std::string::size_type i = 0;
    while (i < unquoted.size()) {
        if (unquoted[i] != '%') {
            result += unquoted[i++];
            continue;
        }
        std::string::size_type close = unquoted.find('%', i + 1);
        if (close == std::string::npos) close = unquoted.size();
        const std::string name = unquoted.substr(i + 1, close - i - 1);
        std::string value;
        if (name.empty() || !environment(name, value)) {
            defined = false;
            value.clear();
        }
        result += value;
        i = close + 1;
    }
    return result;
}

bool pathAs32BitProgramSeesIt(const std::string& text, const Wow64Folders& folders,
                              const EnvironmentLookup& environment, std::string& path) {
    // A 32-bit program's environment names the (x86) folders in place of
    // the native ones.
    const EnvironmentLookup as32Bit = [&](const std::string& name, std::string& value) {
        const std::string* own = nullptr;
        if (sameName(name, "ProgramFiles")) own = &folders.programFilesX86;
        if (sameName(name, "CommonProgramFiles")) own = &folders.commonFilesX86;
        if (!own) return environment(name, value);
        value = *own;
        return !own->empty();
    };
    bool defined = false;
    const std::string expanded = expandVariables(text, as32Bit, defined);
    std::string root;
    std::vector<std::string> parts;
    std::string windowsRoot;
    std::vector<std::string> windows;
    if (!defined || !splitAbsolute(expanded, root, parts) ||
        !splitAbsolute(folders.windows, windowsRoot, windows))
        return false;

    if (sameName(root, windowsRoot)) {
        std::vector<std::string> system32 = windows;
        system32.push_back("System32");
        std::vector<std::string> sysnative = windows;
        sysnative.push_back("Sysnative");
        if (startsWith(parts, system32)) {
            if (inUnredirectedFolder(parts, system32.size())) return false;
            parts[windows.size()] = "SysWOW64";
        } else if (startsWith(parts, sysnative)) {
            parts[windows.size()] = "System32";
        }
    }
    path = root;
    for (const std::string& part : parts) path += "\\" + part;
    if (parts.empty()) path += "\\";
    return true;
}

}  // namespace sysrepair
