#include "shell/command_run.h"

#include <windows.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "common/message_box.h"
#include "common/suite_registry.h"
#include "common/thread.h"
#include "common/win_handles.h"
#include "common/work_progress.h"
#include "repair/backup_date.h"
#include "repair/repair_engine.h"
#include "repair/repair_run.h"
#include "repair/restore_run.h"
#include "repair/settings.h"
#include "scan/categories/categories.h"
#include "scan/kept_items.h"
#include "scan/problem_reason.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"
#include "shell/json_text.h"

namespace sysrepair {

namespace {

// Where the text goes: the output handle Mendora was given (a file or a
// pipe of a script), else the console of the program that started it.
class ConsoleOutput {
public:
    ConsoleOutput() {
        const HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
        if (given != nullptr && given != INVALID_HANDLE_VALUE &&
            GetFileType(given) != FILE_TYPE_UNKNOWN) {
            out_ = given;
        } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
            owned_.reset(CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
            if (owned_) out_ = owned_.get();
        }
        console_ = out_ != nullptr && GetFileType(out_) == FILE_TYPE_CHAR;
    }

    void line(const std::string& text) { write(text + "\r\n"); }

    void write(std::string text) {
        if (out_ == nullptr) return;
        // Lone line feeds, as message texts hold them, end lines as CR LF.
        std::string crlf;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
            crlf += text[i];
        }
        DWORD written = 0;
        if (console_)
            WriteConsoleA(out_, crlf.data(), static_cast<DWORD>(crlf.size()), &written, nullptr);
        else
            WriteFile(out_, crlf.data(), static_cast<DWORD>(crlf.size()), &written, nullptr);
    }

private:
    HANDLE out_ = nullptr;
    win::FileHandle owned_;
    bool console_ = false;
};

// ANSI text of the program as UTF-8, for the report.
std::string utf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    const int wide =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (wide <= 0) return std::string();
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &w[0], wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}

const char* entryTypeName(const TaskEntry& entry) {
    switch (entry.type) {
        case EntryFile:
            return "file";
        case EntryFolder:
            return "folder";
        case EntryRegKey:
            return "registry key";
        default:
            return "registry value";
    }
}

std::string isoTime(int32_t time) {
    const std::time_t t = time;
    const std::tm* utc = std::gmtime(&t);
    if (!utc) return std::string();
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    return text;
}

const char* commandName(Command command) {
    switch (command) {
        case Command::Scan:
            return "scan";
        case Command::Repair:
            return "repair";
        case Command::Restore:
            return "restore";
        case Command::Backups:
            return "backups";
        case Command::Usage:
            return "usage";
        default:
            return "bad";
    }
}

// Prints the step of a repair or restore while it works, once a second.
class ConsoleWorking : public WorkingView {
public:
    explicit ConsoleWorking(ConsoleOutput& console) : console_(console) {}
    ~ConsoleWorking() override { hide(); }

    void show() override {
        if (printer_) return;
        printer_ = std::make_unique<Printer>(console_);
        printer_->resume();
    }
    void hide() override { printer_.reset(); }

private:
    class Printer : public win::Thread {
    public:
        explicit Printer(ConsoleOutput& console) : console_(console) {}
        ~Printer() override { terminateAndWait(); }

    protected:
        void execute() override {
            std::string last;
            while (!terminated()) {
                win::WorkProgress progress;
                if (win::currentWork(progress)) {
                    const std::string text = win::workProgressText(progress);
                    if (text != last) console_.line(text);
                    last = text;
                }
                for (int i = 0; i < 10 && !terminated(); ++i) Sleep(100);
            }
        }

    private:
        ConsoleOutput& console_;
    };

    ConsoleOutput& console_;
    std::unique_ptr<Printer> printer_;
};

// One run of a command: what it found and did, for the console and the report.
class CommandRun {
public:
    explicit CommandRun(const CommandLine& line) : line_(line) {
        report_.beginObject().key("command").string(commandName(line.command));
        // What a window would say is said here instead; a question gets the
        // answer that changes least.
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& request) {
            messages_.push_back(request.text);
            console_.line(request.text);
            return (request.flags & MB_YESNO) ? IDNO : IDOK;
        });
    }
    ~CommandRun() { win::setMessageBoxHandler({}); }

    int run() {
        switch (line_.command) {
            case Command::Usage:
                console_.write(usageText());
                return kExitDone;
            case Command::Scan:
            case Command::Repair:
                return scanAndRepair();
            case Command::Restore:
                return restore();
            case Command::Backups:
                listBackups();
                return kExitDone;
            default:
                return refuse(line_.problem + "\r\n\r\n" + usageText());
        }
    }

    int refuse(const std::string& why) {
        console_.line(why);
        messages_.push_back(why);
        return kExitRefused;
    }

    // Ends the report with the outcome and writes it; a report that cannot
    // be written fails the command.
    int finish(int exitCode) {
        report_.key("messages").beginArray();
        for (const std::string& m : messages_) report_.string(utf8(m));
        report_.endArray();
        report_.key("exitCode").number(exitCode).endObject();
        if (line_.reportPath.empty()) return exitCode;
        win::FileHandle file(CreateFileA(line_.reportPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        const std::string& text = report_.text();
        if (!file ||
            !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                       nullptr) ||
            written != text.size()) {
            console_.line("The report could not be written to " + line_.reportPath + ".");
            return kExitFailed;
        }
        return exitCode;
    }

private:
    int scanAndRepair();
    int restore();
    void listBackups();
    void reportCategories(const std::vector<ITask*>& categories);

    const CommandLine& line_;
    ConsoleOutput console_;
    JsonWriter report_;
    std::vector<std::string> messages_;
};

void CommandRun::reportCategories(const std::vector<ITask*>& categories) {
    report_.key("categories").beginArray();
    uint64_t totalBytes = 0;
    for (ITask* category : categories) {
        std::vector<TaskEntry*> entries;
        category->getEntries(entries);
        uint64_t bytes = 0;
        for (const TaskEntry* entry : entries) bytes += problemBytes(*entry);
        totalBytes += bytes;
        report_.beginObject()
            .key("name")
            .string(utf8(category->name()))
            .key("shortName")
            .string(categoryShortName(category->name()))
            .key("problems")
            .number(category->problemCount())
            .key("bytes")
            .number(static_cast<int64_t>(bytes))
            .key("entries")
            .beginArray();
        for (const TaskEntry* entry : entries)
            report_.beginObject()
                .key("type")
                .string(entryTypeName(*entry))
                .key("path")
                .string(utf8(entryLocation(*entry)))
                .key("text")
                .string(utf8(displayText(*entry)))
                .key("reason")
                .string(utf8(problemReason(*entry)))
                .endObject();
        report_.endArray().endObject();
    }
    report_.endArray();
    report_.key("bytes").number(static_cast<int64_t>(totalBytes));
}

int CommandRun::scanAndRepair() {
    createCategories();
    TaskManager* manager = TaskManager::instance();
    std::vector<std::string> names;
    for (uint32_t i = 0; i < manager->taskCount(); ++i) names.push_back(manager->taskAt(i)->name());
    std::vector<bool> chosen(names.size(), true);
    std::string unknown;
    if (!line_.categories.empty() && !chooseCategories(line_.categories, names, chosen, unknown))
        return refuse("No category is called " + unknown + ".\r\n\r\n" + usageText());

    DriveTable::destroy();
    useKeptItemsForScan(nullptr);
    manager->clearSeen();
    std::vector<ITask*> categories;
    uint32_t problems = 0;
    for (uint32_t i = 0; i < manager->taskCount(); ++i) {
        if (!chosen[i]) continue;
        ITask* category = manager->taskAt(i);
        category->reset();
        console_.line("Scanning " + category->name() + "...");
        manager->setCurrentTask(category);
        category->scan();
        manager->setCurrentTask(nullptr);
        console_.line("  " + std::to_string(category->problemCount()) + " problems");
        problems += category->problemCount();
        categories.push_back(category);
    }
    console_.line(std::to_string(problems) + " problems found.");
    reportCategories(categories);
    if (line_.command == Command::Scan) return problems == 0 ? kExitDone : kExitProblemsFound;
    if (problems == 0) return kExitDone;

    RepairEngine engine;
    if (engine.bind(getSettings()->installFolder()) != RepairEngine::Binding::Bound) {
        messages_.push_back(
            "The repair engine rptrnr.dll of the install folder is missing or unusable.");
        console_.line(messages_.back());
        return kExitFailed;
    }
    ConsoleWorking working(console_);
    const RepairResult result = runRepair(categories, engine, working);
    engine.unbind();
    const uint32_t left =
        result.notBackedUp + result.changedSinceScan + result.keptNotEmpty + result.refused;
    report_.key("repair")
        .beginObject()
        .key("done")
        .number(result.problemsFixed)
        .key("notDone")
        .number(left)
        .key("notBackedUp")
        .number(result.notBackedUp)
        .key("changedSinceScan")
        .number(result.changedSinceScan)
        .key("keptNotEmpty")
        .number(result.keptNotEmpty)
        .key("refused")
        .number(result.refused)
        .key("refusedForSpace")
        .boolean(result.refusedForSpace)
        .key("summary")
        .string(utf8(result.summary))
        .endObject();
    if (result.refusedForSpace) return kExitRefused;
    if (left == 0) return kExitDone;
    return result.problemsFixed > 0 ? kExitPartlyDone : kExitFailed;
}

int CommandRun::restore() {
    const auto backups = getSettings()->backups();
    if (backups.empty()) return refuse("There are no backups to be restored");
    const size_t number = line_.restoreNumber == 0 ? 1 : static_cast<size_t>(line_.restoreNumber);
    if (number > backups.size())
        return refuse("There is no backup " + std::to_string(number) + ": the list holds " +
                      std::to_string(backups.size()) + ".");
    const BackupIndex::BackupEntry chosen = backups[number - 1];
    const SlotBackup backup = readBackup(chosen.folder);
    if (backup.empty())
        return refuse("Backup " + std::to_string(number) + " holds nothing that can be restored.");
    console_.line("Restoring backup " + std::to_string(number) + " of " +
                  backupDateText(chosen.time) + ": " + chosen.summary);
    createCategories();
    ConsoleWorking working(console_);
    working.show();
    const RestoreResult result = restoreBackup(backup);
    working.hide();
    const RestoreMessage message = restoreMessage(
        result, number == 1 ? "the last repair" : "the repair of " + backupDateText(chosen.time));
    messages_.push_back(message.text);
    console_.line(message.text);
    report_.key("restore")
        .beginObject()
        .key("backup")
        .number(static_cast<int64_t>(number))
        .key("slot")
        .string(utf8(chosen.folder))
        .key("date")
        .string(isoTime(chosen.time))
        .key("summary")
        .string(utf8(chosen.summary))
        .key("done")
        .number(result.restored)
        .key("notDone")
        .number(static_cast<int64_t>(result.notRestored.size()) + result.unreadable)
        .key("damagedReports")
        .number(result.damagedReports)
        .key("notRestored")
        .beginArray();
    for (const NotRestored& n : result.notRestored)
        report_.beginObject()
            .key("what")
            .string(utf8(n.what))
            .key("why")
            .string(restoreFailureReason(n.why))
            .endObject();
    report_.endArray().endObject();
    if (result.complete()) return kExitDone;
    return result.restored > 0 ? kExitPartlyDone : kExitFailed;
}

void CommandRun::listBackups() {
    const auto backups = getSettings()->backups();
    if (backups.empty()) console_.line("There are no backups.");
    report_.key("backups").beginArray();
    size_t number = 0;
    for (const BackupIndex::BackupEntry& backup : backups) {
        ++number;
        const uint32_t count = countBackupEntries(backup.folder);
        console_.line(std::to_string(number) + "  " + backupDateText(backup.time) + "  " +
                      std::to_string(count) + " changes  " + backup.summary);
        report_.beginObject()
            .key("number")
            .number(static_cast<int64_t>(number))
            .key("slot")
            .string(utf8(backup.folder))
            .key("date")
            .string(isoTime(backup.time))
            .key("summary")
            .string(utf8(backup.summary))
            .key("count")
            .number(count)
            .endObject();
    }
    report_.endArray();
}

// The suite's registry key can be written: the rights a repair needs.
bool mayWriteSuiteKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, win::kSuiteKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

int runCommand(const CommandLine& line) {
    CommandRun run(line);
    if (line.command == Command::Usage || line.command == Command::Bad)
        return run.finish(run.run());
    // One Mendora at a time, window or command.
    win::KernelHandle mutex(CreateMutexA(nullptr, FALSE, "MENDORA_EXECUTABLE"));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return run.finish(run.refuse("Mendora is already running."));
    if (!mayWriteSuiteKey())
        return run.finish(
            run.refuse("Mendora needs administrator rights: run it as an administrator."));
    const int exitCode = run.run();
    releaseSettings();
    return run.finish(exitCode);
}

}  // namespace sysrepair
