// A line of text from the support server, as the chat window acts on it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "chat/line_actions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    lumonet::interpretLine(line, "Alice");
    std::string sender, text;
    lumonet::parseSenderLine(line, sender, text);
    return 0;
}
