// The update server's answer to a list query.
#include <cstddef>
#include <cstdint>
#include <string>

#include "updater/file_name_code.h"
#include "updater/update_query.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string answer(reinterpret_cast<const char*>(data), size);
    const updater::ListAnswer fields = updater::parseListAnswer(answer);
    // Every field is a piece of the answer.
    if (fields.downloadAddress.size() > answer.size() || fields.localName.size() > answer.size() ||
        fields.newBuild.size() > answer.size())
        __builtin_trap();
    updater::decodeFileName(fields.localName);
    return 0;
}
