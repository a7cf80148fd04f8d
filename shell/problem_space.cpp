#include "shell/problem_space.h"

#include "scan/problem_reason.h"

namespace sysrepair {

std::vector<CategorySpace> spaceOf(const std::vector<ITask*>& categories) {
    std::vector<CategorySpace> space;
    std::vector<TaskEntry*> entries;
    for (ITask* category : categories) {
        if (!category) continue;
        CategorySpace s;
        s.name = category->name();
        category->getEntries(entries);
        uint32_t chosenEntries = 0;
        for (const TaskEntry* entry : entries) {
            const uint64_t bytes = problemBytes(*entry);
            s.bytes += bytes;
            if (entry->leftAlone) continue;
            s.chosenBytes += bytes;
            ++chosenEntries;
        }
        // A category that counts its entries otherwise (all unused Internet
        // files are one problem) is chosen as far as any of them is.
        s.problems = category->problemCount();
        s.chosen = s.problems == entries.size() ? chosenEntries
                   : chosenEntries == 0         ? 0
                                                : s.problems;
        space.push_back(s);
    }
    return space;
}

std::string spaceText(const std::vector<CategorySpace>& space, bool chosen) {
    uint64_t total = 0, totalChosen = 0;
    std::string parts;
    for (const CategorySpace& s : space) {
        if (s.bytes == 0) continue;
        total += s.bytes;
        totalChosen += s.chosenBytes;
        parts += (parts.empty() ? "" : ", ") + s.name + " " + byteCountText(s.bytes);
    }
    if (parts.empty()) return std::string();
    std::string text = "Files found take " + byteCountText(total) + ": " + parts + ".";
    if (chosen && totalChosen != total)
        text += " Chosen for repair: " + byteCountText(totalChosen) + ".";
    return text;
}

std::string chosenText(const std::vector<CategorySpace>& space) {
    uint32_t problems = 0, chosen = 0;
    for (const CategorySpace& s : space) {
        problems += s.problems;
        chosen += s.chosen;
    }
    if (chosen == problems) return std::string();
    return std::to_string(chosen) + " of " + std::to_string(problems) +
           " problems chosen for repair.";
}

}  // namespace sysrepair
