#include "scan/short_status.h"

#include <algorithm>

namespace sysrepair {

namespace {

bool startsWithHkey(const std::string& text) {
    static const char kPrefix[] = "HKEY";
    if (text.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kPrefix[i]) return false;
    }
    return true;
}

std::string lastComponent(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string shortStatus(const std::string& text) {
    if (!startsWithHkey(text)) return lastComponent(text);
    const auto count = std::count(text.begin(), text.end(), '\\');
    if (count == 0) return text;
    if (count <= 2) return text.substr(text.rfind('\\') + 1);
    // After backslash number count - 2: the last three components.
    size_t position = std::string::npos;
    for (long seen = 0; seen < count - 2;) {
        position = text.find('\\', position == std::string::npos ? 0 : position + 1);
        ++seen;
    }
    return text.substr(position + 1);
}

}  // namespace sysrepair
