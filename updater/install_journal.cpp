#include "updater/install_journal.h"

#include <sstream>

namespace updater {

namespace {

const char kFirstLine[] = "Mendora update journal 1";
const size_t kFileFields = 7;

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

bool isSize(const std::string& text) {
    return !text.empty() && text.size() <= 18 &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

bool isDigest(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

bool fitsJournal(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f) return false;
    return true;
}

std::string formatJournal(const InstallJournal& journal) {
    std::string text =
        std::string(kFirstLine) + "\nphase " +
        (journal.phase == InstallJournal::Phase::Preparing ? "preparing" : "replacing") + "\n";
    for (const JournalFile& f : journal.files)
        text += "file\t" + f.encodedName + "\t" + f.localName + "\t" + f.oldBuild + "\t" +
                f.newBuild + "\t" + std::to_string(f.size) + "\t" + f.sha256 + "\n";
    return text + "end\n";
}

bool parseJournal(const std::string& text, InstallJournal& journal) {
    std::vector<std::string> lines = split(text, '\n');
    // The last line ends with a line break: after it comes nothing.
    if (lines.size() < 4 || !lines.back().empty() || lines[0] != kFirstLine ||
        lines[lines.size() - 2] != "end")
        return false;
    InstallJournal read;
    if (lines[1] == "phase preparing")
        read.phase = InstallJournal::Phase::Preparing;
    else if (lines[1] == "phase replacing")
        read.phase = InstallJournal::Phase::Replacing;
    else
        return false;
    for (size_t i = 2; i + 2 < lines.size(); ++i) {
        const std::vector<std::string> fields = split(lines[i], '\t');
        if (fields.size() != kFileFields || fields[0] != "file" || fields[1].empty() ||
            fields[2].empty() || !isSize(fields[5]) || !isDigest(fields[6]))
            return false;
        JournalFile f;
        f.encodedName = fields[1];
        f.localName = fields[2];
        f.oldBuild = fields[3];
        f.newBuild = fields[4];
        f.size = std::stoull(fields[5]);
        f.sha256 = fields[6];
        read.files.push_back(f);
    }
    journal = read;
    return true;
}

}  // namespace updater
