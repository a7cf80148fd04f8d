// Internal checks that stop the program through the runtime library's
// assertion report. The report names a fixed expression text, source name and
// line, so that a report from the field can be matched to its check.
#pragma once

namespace win {

[[noreturn]] void internalCheckFailed(const char* expression, const char* file, unsigned line);

#define INTERNAL_CHECK(condition, expression, file, line)                     \
    do {                                                                      \
        if (!(condition)) ::win::internalCheckFailed(expression, file, line); \
    } while (0)

}  // namespace win
