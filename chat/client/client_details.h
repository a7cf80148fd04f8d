// The client details file, "clientInfo.dat" in the user's own settings folder
// (client_details_file.h): the login form's four texts for the next start. One length byte L, then
// L bytes: the texts and "1 1", each followed by a space, padded with zero bytes to the next whole
// block (a whole extra block when the text fills its last one) and enciphered with Blowfish in ECB
// mode under a fixed key. Pure byte work.
#pragma once

#include <string>

namespace chatclient {

struct ClientDetails {
    std::string name;
    std::string email;
    std::string server;
    std::string port;
};

// The longest text the file stores of each box. The length byte allows 247
// bytes of text; four texts of this length and the rest take 240.
constexpr size_t kStoredTextLimit = 58;

// The whole file. Texts longer than kStoredTextLimit bytes are stored cut
// there, so that the length byte never wraps.
std::string encodeClientDetails(const ClientDetails& details);

// Reads a file's bytes into the texts it holds. False, with `details` left
// as it was, when the bytes are no whole file: a length that is not a
// positive multiple of 8, or fewer bytes than it announces. The texts are
// the words of the deciphered text up to its first zero byte: the first is
// the name, the second the e-mail address (unless it is exactly "@"), the
// third the server, the fourth the port.
bool decodeClientDetails(const std::string& bytes, ClientDetails& details);

}  // namespace chatclient
