#include "updater/update_query.h"

#include <algorithm>

namespace updater {

namespace {

// The 1-based substring rule of the list answer: a start below 1 counts as
// 1; a count below 1 or a start beyond the end gives an empty text; the
// count is cut at the end of the text.
std::string substring(const std::string& text, long start, long count) {
    if (start < 1) start = 1;
    if (count < 1 || start > static_cast<long>(text.size())) return std::string();
    return text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

}  // namespace

std::string queryAddress(const std::string& base, QueryMode mode, const std::string& app,
                         const std::string& ver, const std::string& file,
                         const std::string& build) {
    std::string query = (mode == QueryMode::Check ? "?mode=check&app=" : "?mode=list&app=") + app +
                        "&ver=" + ver + "&file=" + file + "&build=" + build;
    const size_t blank = query.find(' ');
    if (blank != std::string::npos) query[blank] = '+';
    return base + query;
}

ListAnswer parseListAnswer(const std::string& answer) {
    const long length = static_cast<long>(answer.size());
    long p2 = 0, p3 = 0, p4 = 0;
    int commas = 0;
    // Positions 1 to length - 1: the last character is never a separator.
    for (long position = 1; position < length; ++position) {
        if (answer[static_cast<size_t>(position - 1)] != ',') continue;
        ++commas;
        if (commas == 2) p2 = position + 1;
        if (commas == 3) p3 = position + 1;
        if (commas == 4) p4 = position + 1;
    }
    ListAnswer fields;
    if (commas >= 4) {
        const size_t first = answer.find(',');
        const std::string size = answer.substr(0, first);
        std::string digest = answer.substr(first + 1, answer.find(',', first + 1) - first - 1);
        std::vector<SignatureToken> signatures;
        const size_t semicolon = digest.find(';');
        if (semicolon != std::string::npos) {
            size_t start = semicolon + 1;
            while (start <= digest.size()) {
                const size_t end = std::min(digest.find(';', start), digest.size());
                SignatureToken token;
                if (parseSignatureToken(digest.substr(start, end - start), token))
                    signatures.push_back(token);
                start = end + 1;
            }
            digest.resize(semicolon);
        }
        const bool isSize = !size.empty() && size.size() <= 18 &&
                            size.find_first_not_of("0123456789") == std::string::npos;
        for (char& c : digest)
            if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        const bool isDigest = digest.size() == 64 &&
                              digest.find_first_not_of("0123456789abcdef") == std::string::npos;
        if (isSize && isDigest) {
            fields.checked = true;
            fields.size = std::stoull(size);
            fields.sha256 = digest;
            fields.signatures = signatures;
        }
    }
    fields.newBuild = substring(answer, p2, p3 - p2 - 1);
    fields.localName = substring(answer, p3, p4 - p3 - 1);
    fields.downloadAddress = substring(answer, p4, length);
    return fields;
}

}  // namespace updater
