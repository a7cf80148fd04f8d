#include "updater/build_text.h"

#include <vector>

namespace updater {

namespace {

const size_t kLongestBuild = 64;

std::vector<std::string> parts(const std::string& build) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t dot = build.find('.', start);
        out.push_back(build.substr(start, dot == std::string::npos ? dot : dot - start));
        if (dot == std::string::npos) return out;
        start = dot + 1;
    }
}

bool isNumber(const std::string& part) {
    return part.find_first_not_of("0123456789") == std::string::npos;
}

// Numbers of any length, without converting them: fewer digits is smaller.
int compareNumbers(std::string a, std::string b) {
    a.erase(0, a.find_first_not_of('0') == std::string::npos ? a.size() : a.find_first_not_of('0'));
    b.erase(0, b.find_first_not_of('0') == std::string::npos ? b.size() : b.find_first_not_of('0'));
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

}  // namespace

bool isAcceptableBuildText(const std::string& build) {
    if (build.empty() || build.size() > kLongestBuild) return false;
    for (unsigned char c : build)
        if (c < 0x20 || c == 0x7f) return false;
    return true;
}

int compareBuilds(const std::string& a, const std::string& b) {
    const std::vector<std::string> pa = parts(a), pb = parts(b);
    for (size_t i = 0; i < pa.size() || i < pb.size(); ++i) {
        const std::string x = i < pa.size() ? pa[i] : "0";
        const std::string y = i < pb.size() ? pb[i] : "0";
        const int order = isNumber(x) && isNumber(y) ? compareNumbers(x, y)
                                                     : (x < y   ? -1
                                                        : x > y ? 1
                                                                : 0);
        if (order != 0) return order;
    }
    return 0;
}

}  // namespace updater
