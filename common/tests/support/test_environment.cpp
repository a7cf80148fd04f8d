#include "common/tests/support/test_environment.h"

#include <windows.h>

#include <vector>

namespace testing_support {

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed > 0) {
        std::vector<char> old(needed);
        const DWORD n = GetEnvironmentVariableA(name, old.data(), needed);
        had_ = n < needed;
        if (had_) old_.assign(old.data(), n);
    }
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedVariable::~ScopedVariable() {
    SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

}  // namespace testing_support
