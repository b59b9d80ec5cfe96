#include "TasksSection.h"

#include <locale>
#include <sstream>

#include "FmiInternalState.h"
#include "ResourcesFile.h"
#include "TaskSchedule.h"

namespace {

constexpr const char* kTasksSection = "Tasks";

// Leading blanks of the entry text (the line without its first four blanks)
// that mark a function-trigger line and a trigger-input line.
constexpr std::string::size_type kFunctionTriggerIndent = 4;
constexpr std::string::size_type kTriggerInputIndent = 8;

bool StartsWithBlanks(const std::string& text, std::string::size_type count) {
    return text.size() >= count && text.find_first_not_of(' ') >= count;
}

// One whole field as a number; trailing characters, NaN, infinities and
// values out of the type's range fail.
template <typename Number>
bool ReadNumber(const std::string& field, Number& value) {
    std::istringstream in(field);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

bool IsTaskKind(int32_t kind) {
    switch (kind) {
        case TaskKind_enterInitialization:
        case TaskKind_exitInitialization:
        case TaskKind_firstStep:
        case TaskKind_triggered:
        case TaskKind_periodic:
        case TaskKind_terminate: return true;
        default: return false;
    }
}

// Reads the entries one by one; the trigger lines go to the task of the
// task line above them.
class TasksSectionReader {
public:
    TasksSectionReader(FmiInternalState& instance, const std::string& instanceName)
        : instance_(instance), instanceName_(instanceName) {}

    void ReadEntry(const std::string& entry, int32_t line) {
        if (StartsWithBlanks(entry, kTriggerInputIndent))
            ReadTriggerInput(entry.substr(kTriggerInputIndent), line);
        else if (StartsWithBlanks(entry, kFunctionTriggerIndent))
            ReadFunctionTrigger(entry.substr(kFunctionTriggerIndent), line);
        else
            ReadTaskLine(entry, line);
    }

    int32_t result() const { return result_; }

private:
    // Which task the trigger lines that follow belong to.
    enum class Owner { NoTaskYet, Task, SkippedTask };

    void ReadTriggerInput(const std::string& name, int32_t line) {
        if (name.empty())
            instance_.Log(instanceName_, LogCategory_warning, "warning",
                          "'resources/resources.txt' line %d is empty! Trigger input(s) expected.",
                          line);
        TaskRecord* record = OwnerRecord(line);
        if (record == nullptr) return;
        if (!record->AddTriggerInput(name)) {
            instance_.Log(instanceName_, LogCategory_error, "error",
                          "Cannot add more trigger inputs! The limit supported is 16.");
            result_ = 2;
        }
    }

    void ReadFunctionTrigger(const std::string& rest, int32_t line) {
        if (rest.empty())
            instance_.Log(instanceName_, LogCategory_warning, "warning",
                          "'resources/resources.txt' line %d is empty! Function trigger expected.",
                          line);
        TaskRecord* record = OwnerRecord(line);
        if (record == nullptr) return;
        std::istringstream words(rest);
        std::string word;
        words >> word;
        record->SetFunctionTrigger(word);
    }

    void ReadTaskLine(const std::string& text, int32_t line) {
        owner_ = Owner::SkippedTask;
        if (text.empty()) {
            // Nothing to read; the warning already names the line.
            instance_.Log(instanceName_, LogCategory_warning, "warning",
                          "'resources/resources.txt' line %d is empty! Task(s) expected.", line);
            return;
        }
        std::istringstream fields(text);
        std::string name, kindText, periodText, offsetText, priorityText, limitText;
        int32_t kind = 0;
        double period = 0.0;
        double offset = 0.0;
        int64_t priority = 0;
        int64_t maxActivations = 0;
        if (!(fields >> name >> kindText >> periodText >> offsetText >> priorityText >>
              limitText) ||
            !ReadNumber(kindText, kind) || !ReadNumber(periodText, period) ||
            !ReadNumber(offsetText, offset) || !ReadNumber(priorityText, priority) ||
            !ReadNumber(limitText, maxActivations)) {
            instance_.Log(
                instanceName_, LogCategory_warning, "warning",
                "'resources/resources.txt' line %d cannot be read as a task! Name, kind, period, "
                "offset, priority and maximum activations expected.",
                line);
            return;
        }
        if (!IsTaskKind(kind)) {
            // A kind that no run operation knows would stay due for ever.
            instance_.Log(
                instanceName_, LogCategory_warning, "warning",
                "'resources/resources.txt' line %d names the unknown task kind %d! Task ignored.",
                line, kind);
            return;
        }
        instance_.tasks.push_back(
            Task(name, kind, period, offset, static_cast<uint32_t>(priority), maxActivations));
        owner_ = Owner::Task;
    }

    // The record of the task that a trigger line belongs to; null when there
    // is none (a line before the first task line is reported, the lines of
    // a skipped task line go with it).
    TaskRecord* OwnerRecord(int32_t line) {
        switch (owner_) {
            case Owner::Task: return instance_.tasks.back().record;
            case Owner::NoTaskYet:
                instance_.Log(instanceName_, LogCategory_warning, "warning",
                              "'resources/resources.txt' line %d belongs to no task! Line ignored.",
                              line);
                return nullptr;
            case Owner::SkippedTask: return nullptr;
        }
        return nullptr;
    }

    FmiInternalState& instance_;
    const std::string& instanceName_;
    Owner owner_ = Owner::NoTaskYet;
    int32_t result_ = 0;
};

}  // namespace

int32_t ReadTasksSection(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName) {
    std::ifstream in = OpenResourcesFile(instance, folder, instanceName);
    if (!in.is_open()) return 0;
    TasksSectionReader reader(instance, instanceName);
    ReadSectionEntries(in, kTasksSection, [&reader](std::string& entry, int32_t line) {
        reader.ReadEntry(entry, line);
        return true;
    });
    SortTasks(instance.tasks);
    return reader.result();
}
