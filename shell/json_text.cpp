#include "shell/json_text.h"

#include <cstdio>

namespace sysrepair {

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonWriter::newLine() {
    text_ += '\n';
    text_.append(2 * hasMember_.size(), ' ');
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasMember_.empty()) return;
    if (hasMember_.back()) text_ += ',';
    hasMember_.back() = true;
    newLine();
}

JsonWriter& JsonWriter::key(const std::string& name) {
    beforeValue();
    text_ += jsonString(name) + ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    text_ += '{';
    hasMember_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    const bool any = hasMember_.back();
    hasMember_.pop_back();
    if (any) newLine();
    text_ += '}';
    if (hasMember_.empty()) text_ += '\n';
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    text_ += '[';
    hasMember_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    const bool any = hasMember_.back();
    hasMember_.pop_back();
    if (any) newLine();
    text_ += ']';
    if (hasMember_.empty()) text_ += '\n';
    return *this;
}

JsonWriter& JsonWriter::string(const std::string& utf8) {
    beforeValue();
    text_ += jsonString(utf8);
    return *this;
}

JsonWriter& JsonWriter::number(int64_t value) {
    beforeValue();
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    beforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

}  // namespace sysrepair
