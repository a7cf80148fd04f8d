// An environment variable of this process pointed elsewhere for one test,
// and put back when the test ends.
#pragma once

#include <string>

namespace testing_support {

class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

}  // namespace testing_support
