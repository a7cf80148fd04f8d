#include "common/internal_check.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <assert.h>

namespace win {

#endif

void internalCheckFailed(const char* expression, const char* file, unsigned line) {
#ifdef _WIN32
    _assert(expression, file, line);
#else
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %u\n", expression, file, line);
#endif
    std::abort();
}

}  // namespace win
