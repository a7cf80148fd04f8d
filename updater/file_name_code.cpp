#include "updater/file_name_code.h"

namespace updater {

std::string decodeFileName(const std::string& encoded) {
    std::string decoded;
    decoded.reserve(encoded.size() * 2);
    for (char c : encoded) {
        if (c == '~')
            decoded += '\\';
        else if (c == '+')
            decoded += "..";
        else
            decoded += c;
    }
    return decoded;
}

}  // namespace updater
