#include "chat/client/login_rules.h"

namespace chatclient {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool validateName(const std::string& name, std::string& message) {
    if (name.empty() || !isAsciiLetter(name[0])) {
        message = "Invalid name.\n\nYour username must start with a letter.";
        return false;
    }
    for (char c : name) {
        if (c == ' ') {
            message = "Invalid name.\n\nYour username cannot contain a space.";
            return false;
        }
        if (!isAsciiLetter(c) && !isAsciiDigit(c)) {
            message = "Invalid name.\n\nYour username contains invalid characters.";
            return false;
        }
    }
    return true;
}

bool validateEmail(const std::string& email) {
    const size_t dot = email.find('.');
    const size_t at = email.find('@');
    return dot != std::string::npos && at != std::string::npos && dot != 0 && at != 0;
}

}  // namespace chatclient
