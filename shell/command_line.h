// Mendora's command line, for administrators and their scripts. Switches
// start with "/" or "-" and are matched without regard to case; a value
// follows a colon. A command line without any of them starts the window as
// it always did. Arguments are split as the C runtime splits them (double
// quotes group, backslashes before a quote escape it).
//
//   Mendora.exe                    the window, as always ("-source=vs": on top)
//   Mendora.exe /scan [/categories:NAMES] [/report:FILE]
//   Mendora.exe /repair [/categories:NAMES] [/report:FILE]
//   Mendora.exe /restore[:N] [/report:FILE]
//   Mendora.exe /backups [/report:FILE]
//   Mendora.exe /?
#pragma once

#include <string>
#include <vector>

namespace sysrepair {

enum class Command { Window, Scan, Repair, Restore, Backups, Usage, Bad };

struct CommandLine {
    Command command = Command::Window;
    bool stayOnTop = false;  // "-source=vs"
    // As given: names or short names, not yet checked against the categories.
    std::vector<std::string> categories;
    std::string reportPath;
    // Backup N of the list, newest first, from 1; 0 for the newest.
    int restoreNumber = 0;
    // Why the command line was refused (Command::Bad).
    std::string problem;
};

CommandLine parseCommandLine(const std::string& arguments);

// The arguments as the C runtime splits them.
std::vector<std::string> splitArguments(const std::string& arguments);

// The short name of a category ("drive" for "Drive Cleaner"); empty for a
// name not in the table.
std::string categoryShortName(const std::string& name);

// Which of the categories (in the task manager's order) the names choose,
// each a full name or a short name, in any case. False, with the first name
// that chooses none, when one does not.
bool chooseCategories(const std::vector<std::string>& wanted,
                      const std::vector<std::string>& categoryNames, std::vector<bool>& chosen,
                      std::string& unknown);

// The text "/?" shows.
std::string usageText();

// The exit codes of a command.
enum ExitCode : int {
    kExitDone = 0,  // nothing found, or everything done
    kExitProblemsFound = 1,
    kExitPartlyDone = 2,
    kExitRefused = 3,  // another copy runs, no rights, a bad switch, nothing to restore
    kExitFailed = 4,
};

}  // namespace sysrepair
