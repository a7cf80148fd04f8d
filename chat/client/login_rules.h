// The checks of the login form: which user names and e-mail addresses the
// support server is given. Pure text rules.
#pragma once

#include <string>

namespace chatclient {

// True for a name that starts with an ASCII letter and holds only ASCII
// letters and digits; otherwise false with the message that says why.
bool validateName(const std::string& name, std::string& message);

// True when the text holds a "." and an "@", neither of them (the first of
// each) at its start. Nothing else is checked.
bool validateEmail(const std::string& email);

// The texts the form takes from its boxes: at most this many characters.
constexpr size_t kLoginTextLimit = 29;

}  // namespace chatclient
