#include "common/registry_reader_writer.h"

#include <cstring>
#include <iostream>

namespace win {

namespace {

const char kNoKey[] = "null";

bool isNoKey(const std::string& path) {
    return path == kNoKey;
}

}  // namespace

RegistryReaderWriter::RegistryReaderWriter()
    : keyPath(kNoKey), root(HKEY_LOCAL_MACHINE), textBuffer(textBufferSize) {}

RegistryReaderWriter::~RegistryReaderWriter() = default;

bool RegistryReaderWriter::setKey(const std::string& path) {
    keyPath = path;
    return true;
}

bool RegistryReaderWriter::setRoot(HKEY newRoot) {
    root = newRoot;
    return true;
}

int32_t RegistryReaderWriter::readInt(const std::string& name, bool& ok) {
    ok = false;
    if (isNoKey(keyPath)) return -1;
    win::RegKey key;
    RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, key.receive());
    unsigned char bytes[4] = {0, 0, 0, 0};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
        return -1;
    ok = true;
    return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 |
                                uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

std::string RegistryReaderWriter::readString(const std::string& name, bool& ok) {
    ok = false;
    if (isNoKey(keyPath)) {
        std::cout << "Null Key Name ";
        return kNoKey;
    }
    LONG status;
    DWORD size = textBufferSize;
    {
        win::RegKey key;
        RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, key.receive());
        status = RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(textBuffer.data()), &size);
    }
    if (status != ERROR_SUCCESS) {
        std::cout << "Error in readString";
        if (status == ERROR_MORE_DATA) std::cout << "Buffer is too small";
        return kNoKey;
    }
    ok = true;
    // A value that fills the buffer exactly has no terminator: stop at the
    // buffer's end.
    if (size > textBufferSize) size = textBufferSize;
    return std::string(textBuffer.data(), strnlen(textBuffer.data(), size));
}

LSTATUS RegistryReaderWriter::createKey(win::RegKey& key) const {
    DWORD disposition = 0;
    return RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS | view, nullptr, key.receive(), &disposition);
}

bool RegistryReaderWriter::writeInt(int32_t number, const std::string& name) {
    const uint32_t u = static_cast<uint32_t>(number);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
        static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    return writeRaw(bytes, REG_DWORD, sizeof bytes, name);
}

bool RegistryReaderWriter::writeString(const std::string& text, const std::string& name) {
    return writeRaw(text.c_str(), REG_SZ, static_cast<DWORD>(text.size() + 1), name);
}

bool RegistryReaderWriter::writeRaw(const void* bytes, DWORD regType, DWORD size,
                                    const std::string& name) {
    win::RegKey key;
    if (createKey(key) != ERROR_SUCCESS) return false;
    return RegSetValueExA(key.get(), name.c_str(), 0, regType, static_cast<const BYTE*>(bytes),
                          size) == ERROR_SUCCESS;
}

LONG RegistryReaderWriter::readRaw(void* buffer, DWORD& regType, DWORD& size,
                                   const std::string& name) {
    if (isNoKey(keyPath)) return -1;
    win::RegKey key;
    LONG status = RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE | view, key.receive());
    if (status != ERROR_SUCCESS) return status;
    return RegQueryValueExA(key.get(), name.c_str(), nullptr, &regType, static_cast<BYTE*>(buffer),
                            &size);
}

bool RegistryReaderWriter::valueExists(const std::string& name) {
    bool ok = false;
    readString(name, ok);
    return ok;
}

bool RegistryReaderWriter::deleteValue(const std::string& name) {
    win::RegKey key;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_SET_VALUE | view, key.receive()) !=
        ERROR_SUCCESS)
        return false;
    return RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool RegistryReaderWriter::openEnumeration(REGSAM access) {
    enumHandle.reset();
    if (isNoKey(keyPath)) return false;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, access | view, enumHandle.receive()) !=
        ERROR_SUCCESS) {
        enumHandle.reset();
        return false;
    }
    enumIndex = 0;
    return true;
}

bool RegistryReaderWriter::openValues() {
    return openEnumeration(KEY_QUERY_VALUE);
}

bool RegistryReaderWriter::openSubkeys() {
    return openEnumeration(KEY_ENUMERATE_SUB_KEYS);
}

std::string RegistryReaderWriter::nextValueName(bool& ok) {
    ok = false;
    if (!enumHandle) return kNoKey;
    const DWORD index = enumIndex++;
    char name[valueNameSize];
    DWORD size = valueNameSize;
    if (RegEnumValueA(enumHandle.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return kNoKey;
    ok = true;
    return std::string(name, strnlen(name, size < valueNameSize ? size : valueNameSize));
}

std::string RegistryReaderWriter::nextSubkeyName(bool& ok) {
    ok = false;
    if (!enumHandle) return kNoKey;
    const DWORD index = enumIndex++;
    char name[keyNameSize];
    DWORD size = keyNameSize;
    if (RegEnumKeyExA(enumHandle.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return kNoKey;
    ok = true;
    return std::string(name, strnlen(name, size < keyNameSize ? size : keyNameSize));
}

}  // namespace win
