#include "Task.h"

#include <cmath>
#include <limits>

#include "TaskTime.h"

namespace {

int32_t ScheduleClassOf(int32_t kind) {
    switch (kind) {
        case TaskKind_enterInitialization: return 1;
        case TaskKind_exitInitialization: return 2;
        case TaskKind_firstStep: return 3;
        case TaskKind_triggered:
        case TaskKind_periodic: return 4;
        case TaskKind_terminate: return 5;
        default: return 0;
    }
}

uint64_t orderRevision = 0;

}  // namespace

uint64_t TaskOrderRevision() { return orderRevision; }

bool TaskRecord::AddTriggerInput(const std::string& inputName) {
    if (inputName.empty() || triggerInputs.size() >= kMaxTriggerInputs) return false;
    triggerInputs.push_back(inputName);
    return true;
}

int TaskRecord::SetTriggerInputAddress(uint64_t address, uint16_t index) {
    if (index >= kMaxTriggerInputs) return -1;
    triggerInputAddresses[index] = address;
    return 0;
}

int TaskRecord::SetFunctionTrigger(const std::string& triggerName) {
    if (triggerName.empty()) return -1;
    functionTrigger = triggerName;
    return 0;
}

std::string TaskRecord::GetFunctionTrigger() const { return functionTrigger; }
std::vector<std::string> TaskRecord::GetTriggerInputs() const { return triggerInputs; }
void TaskRecord::SetBodySymbol(const SymbolRecord& symbol) { bodySymbol = symbol; }
void TaskRecord::SetTriggerSymbol(const SymbolRecord& symbol) { triggerSymbol = symbol; }
SymbolRecord* TaskRecord::BodySymbol() { return &bodySymbol; }
SymbolRecord* TaskRecord::TriggerSymbol() { return &triggerSymbol; }
uint64_t* TaskRecord::TriggerInputAddresses() { return triggerInputAddresses; }

Task::Task(const std::string& name_, int32_t kind_, double period_, double offset_,
           uint32_t priority_, int64_t maxActivations_)
    : record(new TaskRecord),
      name(name_),
      kind(kind_),
      period(period_),
      offset(offset_),
      priority(priority_),
      maxActivations(maxActivations_),
      nextActivation(std::numeric_limits<double>::quiet_NaN()),
      activationCount(0),
      epsilon(kTaskTimeEpsilon),
      scheduleClass(ScheduleClassOf(kind_)) {
    record->task = this;
}

Task::Task(Task&& other) noexcept
    : record(other.record),
      name(std::move(other.name)),
      kind(other.kind),
      period(other.period),
      offset(other.offset),
      priority(other.priority),
      maxActivations(other.maxActivations),
      nextActivation(other.nextActivation),
      activationCount(other.activationCount),
      epsilon(other.epsilon),
      scheduleClass(other.scheduleClass),
      lastProcessedStep(other.lastProcessedStep),
      lastProcessedActivation(other.lastProcessedActivation) {
    other.record = nullptr;
    if (record != nullptr) record->task = this;
}

Task::Task(const Task& other)
    : record(other.record != nullptr ? new TaskRecord(*other.record) : new TaskRecord),
      name(other.name),
      kind(other.kind),
      period(other.period),
      offset(other.offset),
      priority(other.priority),
      maxActivations(other.maxActivations),
      nextActivation(other.nextActivation),
      activationCount(other.activationCount),
      epsilon(other.epsilon),
      scheduleClass(other.scheduleClass),
      lastProcessedStep(other.lastProcessedStep),
      lastProcessedActivation(other.lastProcessedActivation) {
    record->task = this;
}

Task& Task::operator=(Task&& other) noexcept {
    if (this == &other) return *this;
    delete record;
    record = other.record;
    other.record = nullptr;
    if (record != nullptr) record->task = this;
    name = std::move(other.name);
    kind = other.kind;
    period = other.period;
    offset = other.offset;
    priority = other.priority;
    maxActivations = other.maxActivations;
    nextActivation = other.nextActivation;
    activationCount = other.activationCount;
    epsilon = other.epsilon;
    scheduleClass = other.scheduleClass;
    lastProcessedStep = other.lastProcessedStep;
    lastProcessedActivation = other.lastProcessedActivation;
    return *this;
}

Task& Task::operator=(const Task& other) {
    if (this == &other) return *this;
    Task copy(other);
    return *this = std::move(copy);
}

Task::~Task() { delete record; }

int Task::SetName(const std::string& newName) {
    if (newName.empty()) return -1;
    name = newName;
    return 0;
}

int Task::SetPeriod(double seconds) {
    if (std::isnan(seconds) || seconds < 0.0) return -1;
    period = seconds;
    return 0;
}

int Task::SetOffset(double seconds) {
    if (std::isnan(seconds) || seconds < 0.0) return 1;
    offset = seconds;
    ++orderRevision;
    return 0;
}

int Task::SetPriority(uint32_t newPriority) {
    priority = newPriority;
    ++orderRevision;
    return 0;
}

int Task::SetMaxActivations(int64_t limit) {
    if (limit < -1) return -1;
    maxActivations = limit;
    return 0;
}

int Task::SetNextActivation(double seconds) {
    nextActivation = SecondsToTaskTime(seconds, epsilon);
    ++orderRevision;
    return 0;
}

int Task::SetActivationCount(int64_t count) {
    if (count < 0) return -1;
    activationCount = count;
    return 0;
}

const std::string& Task::GetName() { return name; }
int32_t Task::GetKind() { return kind; }
double Task::GetPeriod() { return period; }
double Task::GetOffset() { return offset; }
uint32_t Task::GetPriority() { return priority; }
int64_t Task::GetMaxActivations() { return maxActivations; }
double Task::GetNextActivation() { return nextActivation / 1e9; }
int64_t Task::GetActivationCount() { return activationCount; }
const char* Task::GetNameCStr() { return name.c_str(); }
