#include "common/exact_registry.h"

#include "common/win_handles.h"

namespace win {

namespace {

bool isText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The longest name the registry allows is 16,383 characters for a key and
// 16,383 for a value name.
const DWORD kLongestName = 16384;

}  // namespace

bool exactAnsi(const wchar_t* text, size_t length, std::string& ansi) {
    ansi.clear();
    if (length == 0) return true;
    if (length > 0x7FFFFFFF) return false;
    const int count = static_cast<int>(length);
    // The best-fit flag and the default-character report are refused for
    // UTF-8, where every character has a form anyway.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL usedDefault = FALSE;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* defaultUse = utf8 ? nullptr : &usedDefault;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text, count, nullptr, 0, nullptr, defaultUse);
    if (size <= 0 || usedDefault) return false;
    ansi.assign(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text, count, &ansi[0], size, nullptr, defaultUse) !=
            size ||
        usedDefault)
        return false;
    // A lone surrogate becomes U+FFFD in UTF-8: not the stored text either.
    if (utf8) {
        std::wstring back;
        if (!exactWide(ansi, back) || back.compare(0, back.size(), text, length) != 0) return false;
    }
    return true;
}

bool exactWide(const std::string& ansi, std::wstring& wide) {
    wide.clear();
    if (ansi.empty()) return true;
    if (ansi.size() > 0x7FFFFFFF) return false;
    const int count = static_cast<int>(ansi.size());
    const int size =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), count, nullptr, 0);
    if (size <= 0) return false;
    wide.assign(static_cast<size_t>(size), L'\0');
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), count, &wide[0], size) ==
           size;
}

bool listExactNames(HKEY root, const std::string& keyPath, KeyNames which,
                    std::vector<std::string>& names, size_t& refused) {
    names.clear();
    refused = 0;
    std::wstring path;
    if (!exactWide(keyPath, path)) return false;
    RegKey key;
    const REGSAM access = which == KeyNames::Values ? KEY_QUERY_VALUE : KEY_ENUMERATE_SUB_KEYS;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, key.receive()) != ERROR_SUCCESS) return false;
    std::vector<wchar_t> name(kLongestName + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG status = which == KeyNames::Values
                                ? RegEnumValueW(key.get(), index, name.data(), &length, nullptr,
                                                nullptr, nullptr, nullptr)
                                : RegEnumKeyExW(key.get(), index, name.data(), &length, nullptr,
                                                nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        std::string ansi;
        if (status != ERROR_SUCCESS || !exactAnsi(name.data(), length, ansi)) {
            ++refused;
            // A key whose listing keeps failing would otherwise be listed for
            // ever.
            if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) break;
            continue;
        }
        names.push_back(std::move(ansi));
    }
    return true;
}

ValueRead readExactValue(HKEY key, const std::string& name, DWORD& type,
                         std::vector<unsigned char>& data) {
    data.clear();
    std::wstring wideName;
    if (!exactWide(name, wideName)) return ValueRead::NotExact;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
        // The value may grow between the two questions: ask again.
        if (attempt == 4) return ValueRead::Failed;
        std::vector<unsigned char> bytes(size);
        DWORD got = size;
        status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                                  got ? bytes.data() : nullptr, &got);
        if (status == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        bytes.resize(got);
        if (!isText(type)) {
            data = std::move(bytes);
            return ValueRead::Read;
        }
        if (got % sizeof(wchar_t) != 0) return ValueRead::NotExact;
        std::string ansi;
        if (!exactAnsi(reinterpret_cast<const wchar_t*>(bytes.data()), got / sizeof(wchar_t), ansi))
            return ValueRead::NotExact;
        data.assign(ansi.begin(), ansi.end());
        return ValueRead::Read;
    }
    return status == ERROR_FILE_NOT_FOUND ? ValueRead::Missing : ValueRead::Failed;
}

bool writeExactValue(HKEY root, const std::string& keyPath, const std::string& name, DWORD type,
                     const std::vector<unsigned char>& data) {
    std::wstring path, wideName;
    if (!exactWide(keyPath, path) || !exactWide(name, wideName)) return false;
    RegKey key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    if (data.size() > 0x7FFFFFFF) return false;
    if (!isText(type))
        return RegSetValueExW(key.get(), wideName.c_str(), 0, type,
                              data.empty() ? nullptr : data.data(),
                              static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    std::wstring text;
    if (!exactWide(std::string(data.begin(), data.end()), text)) return false;
    return RegSetValueExW(key.get(), wideName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>(text.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

ValueRead readExactValue(HKEY root, const std::string& keyPath, const std::string& name,
                         DWORD& type, std::vector<unsigned char>& data) {
    data.clear();
    std::wstring path;
    if (!exactWide(keyPath, path)) return ValueRead::NotExact;
    RegKey key;
    const LONG opened = RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return ValueRead::Missing;
    if (opened != ERROR_SUCCESS) return ValueRead::Failed;
    return readExactValue(key.get(), name, type, data);
}

}  // namespace win
