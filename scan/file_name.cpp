#include "scan/file_name.h"

namespace sysrepair {

std::string fileNameOf(const std::string& path) {
    std::string text = path;
    while (!text.empty() && text.back() == '\\') text.pop_back();
    const std::string::size_type slash = text.rfind('\\');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

}  // namespace sysrepair
