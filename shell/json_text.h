// Writing JSON text (RFC 8259) for the command line's reports: objects,
// arrays, strings, numbers and booleans, with commas and indentation placed
// by the writer. Strings are taken as UTF-8 and escaped where JSON needs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sysrepair {

class JsonWriter {
public:
    // A member of the object being written; the value follows with one of
    // the calls below.
    JsonWriter& key(const std::string& name);

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& string(const std::string& utf8);
    JsonWriter& number(int64_t value);
    JsonWriter& boolean(bool value);

    // The text so far, ended by a line break once the outermost value is
    // complete.
    const std::string& text() const { return text_; }

private:
    void beforeValue();
    void newLine();

    std::string text_;
    // Per open object or array: whether it has a member yet.
    std::vector<bool> hasMember_;
    bool afterKey_ = false;
};

// The string as a JSON string literal, quotes included: '"', '\' and the
// control characters escaped.
std::string jsonString(const std::string& utf8);

}  // namespace sysrepair
