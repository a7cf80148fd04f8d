#include "shell/command_line.h"

#include <cctype>
#include <cstdlib>

namespace sysrepair {

namespace {

const struct {
    const char* name;
    const char* shortName;
} kCategoryNames[] = {
    {"Custom Controls", "controls"},    {"Drive Cleaner", "drive"},
    {"Installed Software", "software"}, {"Windows System Fonts", "fonts"},
    {"Internet Cleaner", "internet"},   {"Windows Help Files", "help"},
    {"Recent Documents", "recent"},     {"Windows Shortcuts", "shortcuts"},
};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        const std::string item = trimmed(list.substr(start, comma - start));
        if (!item.empty()) items.push_back(item);
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

// A refused command line still writes its report where it asked for one.
CommandLine refused(const std::string& problem, const std::vector<std::string>& words = {}) {
    CommandLine line;
    line.command = Command::Bad;
    line.problem = problem;
    for (const std::string& word : words) {
        const size_t colon = word.find(':');
        if (colon == 7 && word.size() > 8 && (word[0] == '/' || word[0] == '-') &&
            lower(word.substr(1, 6)) == "report") {
            line.reportPath = word.substr(8);
            break;
        }
    }
    return line;
}

}  // namespace

std::vector<std::string> splitArguments(const std::string& arguments) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const char c = arguments[i];
        if (c == '\\') {
            size_t slashes = 0;
            while (i < arguments.size() && arguments[i] == '\\') ++slashes, ++i;
            if (i < arguments.size() && arguments[i] == '"') {
                word.append(slashes / 2, '\\');
                if (slashes % 2) {
                    word += '"';
                } else {
                    quoted = !quoted;
                }
            } else {
                word.append(slashes, '\\');
                --i;
            }
            inWord = true;
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

namespace {

const char* const kSwitchNames[] = {"scan", "repair", "restore",    "backups",
                                    "?",    "help",   "categories", "report"};

// A word of the command line of scripts: "/" and anything, or "-" and one
// of the switch names.
bool isCommandWord(const std::string& word) {
    if (word.size() < 2) return false;
    if (word[0] == '/') return true;
    if (word[0] != '-') return false;
    const std::string name = lower(word.substr(1, word.find(':') - 1));
    for (const char* known : kSwitchNames)
        if (name == known) return true;
    return false;
}

}  // namespace

CommandLine parseCommandLine(const std::string& arguments) {
    CommandLine line;
    const std::vector<std::string> words = splitArguments(arguments);
    bool commands = false;
    for (const std::string& word : words) commands = commands || isCommandWord(word);
    // Without a switch of the command line the window starts as it always
    // did, whatever else is given; only the exact start switch keeps it on
    // top.
    if (!commands) {
        line.stayOnTop = arguments == "-source=vs";
        return line;
    }
    bool hasCategories = false, hasReport = false;
    for (const std::string& word : words) {
        if (word == "-source=vs") {
            line.stayOnTop = true;
            continue;
        }
        if (word.size() < 2 || (word[0] != '/' && word[0] != '-'))
            return refused("Not a switch: " + word, words);
        const size_t colon = word.find(':');
        const std::string name =
            lower(word.substr(1, colon == std::string::npos ? colon : colon - 1));
        const bool hasValue = colon != std::string::npos;
        const std::string value = hasValue ? word.substr(colon + 1) : std::string();
        Command action = Command::Window;
        if (name == "scan" && !hasValue) {
            action = Command::Scan;
        } else if (name == "repair" && !hasValue) {
            action = Command::Repair;
        } else if (name == "backups" && !hasValue) {
            action = Command::Backups;
        } else if ((name == "?" || name == "help") && !hasValue) {
            action = Command::Usage;
        } else if (name == "restore") {
            action = Command::Restore;
            if (hasValue) {
                char* end = nullptr;
                const long n = value.size() <= 3 ? std::strtol(value.c_str(), &end, 10) : 0;
                if (value.empty() || end == nullptr || *end != '\0' || n < 1 || n > 30)
                    return refused("No backup " + value + ": give a number from 1 to 30", words);
                line.restoreNumber = static_cast<int>(n);
            }
        } else if (name == "categories" && hasValue && !hasCategories) {
            line.categories = splitList(value);
            if (line.categories.empty()) return refused("No category named in " + word, words);
            hasCategories = true;
            continue;
        } else if (name == "report" && hasValue && !hasReport && !value.empty()) {
            line.reportPath = value;
            hasReport = true;
            continue;
        } else {
            return refused("Unknown or repeated switch: " + word, words);
        }
        if (line.command != Command::Window)
            return refused("Only one of /scan, /repair, /restore, /backups and /? at a time",
                           words);
        line.command = action;
    }
    if (line.command == Command::Window && (hasCategories || hasReport))
        return refused("/categories and /report go with /scan, /repair, /restore or /backups",
                       words);
    if (hasCategories && line.command != Command::Scan && line.command != Command::Repair)
        return refused("/categories goes with /scan or /repair", words);
    if (hasReport && line.command == Command::Usage) return refused("/? takes no report", words);
    return line;
}

std::string categoryShortName(const std::string& name) {
    for (const auto& c : kCategoryNames)
        if (name == c.name) return c.shortName;
    return std::string();
}

bool chooseCategories(const std::vector<std::string>& wanted,
                      const std::vector<std::string>& categoryNames, std::vector<bool>& chosen,
                      std::string& unknown) {
    chosen.assign(categoryNames.size(), false);
    for (const std::string& want : wanted) {
        bool found = false;
        for (size_t i = 0; i < categoryNames.size(); ++i) {
            if (lower(want) == lower(categoryNames[i]) ||
                lower(want) == categoryShortName(categoryNames[i])) {
                chosen[i] = true;
                found = true;
            }
        }
        if (!found) {
            unknown = want;
            return false;
        }
    }
    return true;
}

std::string usageText() {
    std::string text =
        "Mendora finds and repairs problems of the registry and the disk.\r\n"
        "\r\n"
        "  Mendora.exe /scan [/categories:NAMES] [/report:FILE]\r\n"
        "      finds the problems and changes nothing\r\n"
        "  Mendora.exe /repair [/categories:NAMES] [/report:FILE]\r\n"
        "      finds the problems, backs them up and repairs them\r\n"
        "  Mendora.exe /restore[:N] [/report:FILE]\r\n"
        "      undoes the newest repair, or backup N of the list (1 is the newest)\r\n"
        "  Mendora.exe /backups [/report:FILE]\r\n"
        "      lists the backups, newest first\r\n"
        "  Mendora.exe /?\r\n"
        "      shows this text\r\n"
        "\r\n"
        "NAMES is a comma-separated list of categories, by name or short name:\r\n";
    for (const auto& c : kCategoryNames)
        text += std::string("  ") + c.shortName +
                std::string(12 - std::string(c.shortName).size(), ' ') + c.name + "\r\n";
    text +=
        "FILE receives a JSON report of what was found and done.\r\n"
        "\r\n"
        "Exit codes: 0 nothing found or everything done, 1 problems found, 2 partly done,\r\n"
        "3 refused (Mendora runs already, no administrator rights, a bad switch, nothing to\r\n"
        "restore), 4 failed.\r\n";
    return text;
}

}  // namespace sysrepair
