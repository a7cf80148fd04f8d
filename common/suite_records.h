// The suite's own records in the registry: its key and subkeys
// (common/suite_registry.h) and its App Paths entries. The installer, a
// 32-bit program, writes them in the 32-bit view; every build of the
// programs reads and writes them there, so that an i686 and an x86_64
// program of the suite share one set of records.
#pragma once

#include <windows.h>

#include <string>

#include "common/registry_reader_writer.h"

namespace win {

// The open flag that reaches the 32-bit view from a 64-bit program. A 32-bit
// program is in that view already and passes nothing (Windows 2000 refuses
// the flag).
constexpr REGSAM kSuiteRecordsView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : 0;

// Below HKEY_LOCAL_MACHINE.
constexpr char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// The key of the App Paths entry of a program.
std::string appPathsEntryKey(const std::string& exeName);

// One key of the suite's records below HKEY_LOCAL_MACHINE, such as
// kSuiteKey, kUpdateKey or appPathsEntryKey(kMendoraEntry), in their view.
class SuiteRecordKey : public RegistryReaderWriter {
public:
    explicit SuiteRecordKey(const std::string& path);
};

}  // namespace win
