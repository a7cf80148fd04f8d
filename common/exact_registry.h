// Registry names and texts that survive the ANSI code page, read through the
// wide functions. The ANSI functions turn a character the code page lacks
// into "?" silently: a name read so opens nothing or the wrong thing, a text
// read so is written back changed. What has no exact ANSI form is refused
// here instead, so that callers can leave it alone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace win {

// The ANSI form of a wide text when every character has one (no default
// character, no best-fit stand-in); false otherwise.
bool exactAnsi(const wchar_t* text, size_t length, std::string& ansi);
// The wide form of an ANSI text; false for bytes that are no text of the
// code page.
bool exactWide(const std::string& ansi, std::wstring& wide);

enum class KeyNames { Values, Subkeys };

// The names of a key's values or subkeys that have an exact ANSI form, in
// enumeration order. `refused` counts the others (no exact ANSI form, or
// unreadable). False when the key cannot be opened.
bool listExactNames(HKEY root, const std::string& keyPath, KeyNames which,
                    std::vector<std::string>& names, size_t& refused);

enum class ValueRead {
    Read,      // type and data are as the ANSI functions would give them
    Missing,   // no such value (or no such key)
    NotExact,  // a text with characters the code page lacks
    Failed,    // it could not be read
};

// A value's type and data, texts (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
// converted to the ANSI code page exactly as stored, terminators included.
ValueRead readExactValue(HKEY key, const std::string& name, DWORD& type,
                         std::vector<unsigned char>& data);
ValueRead readExactValue(HKEY root, const std::string& keyPath, const std::string& name,
                         DWORD& type, std::vector<unsigned char>& data);

// Writes a value (making its key) with exactly the type and data given,
// texts in the ANSI code page as readExactValue gives them: stored as the
// same characters, with a terminator only where the data has one.
bool writeExactValue(HKEY root, const std::string& keyPath, const std::string& name, DWORD type,
                     const std::vector<unsigned char>& data);

}  // namespace win
