#include "common/tests/support/child_process.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <stdexcept>

#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"

namespace testing_support {

namespace {

std::map<std::string, std::function<void()>>& scenarios() {
    static std::map<std::string, std::function<void()>> all;
    return all;
}

const char kFlag[] = "--child=";

}  // namespace

bool registerChildScenario(const std::string& name, std::function<void()> body) {
    scenarios()[name] = std::move(body);
    return true;
}

bool runChildScenarioFromArgs(int argc, char** argv, int& exitCode) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) != 0) continue;
        auto it = scenarios().find(argv[i] + sizeof kFlag - 1);
        if (it == scenarios().end()) {
            exitCode = 99;
            return true;
        }
        it->second();
        exitCode = 0;
        return true;
    }
    return false;
}

ChildResult runChild(const std::string& name) {
    char exe[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    ScopedTestFolder folder;
    const std::string outPath = folder.path() + "output.txt";

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create child output file");

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = out;
    si.hStdError = out;
    std::string commandLine = "\"" + std::string(exe) + "\" " + kFlag + name;
    // The child starts in the program's own folder: the caller's working
    // folder may have no Windows path.
    std::string exeFolder = exe;
    exeFolder.erase(exeFolder.find_last_of('\\') + 1);
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessA(exe, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        exeFolder.c_str(), &si, &pi);
    CloseHandle(out);
    if (!started) throw std::runtime_error("cannot start child " + name);
    WaitForSingleObject(pi.hProcess, 60000);
    ChildResult result;
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    result.output = readFile(outPath);
    return result;
}

}  // namespace testing_support
