#ifndef AMBREL_TASK_H
#define AMBREL_TASK_H

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "SymbolRecord.h"

// When a task runs; the second field of a task line.
enum TaskKind : int32_t {
    TaskKind_enterInitialization = 32,
    TaskKind_exitInitialization = 64,
    TaskKind_firstStep = 96,
    TaskKind_triggered = 128,
    TaskKind_periodic = 160,
    TaskKind_terminate = 192,
};

class Task;

// What binds a task to the vECU: its trigger function, trigger inputs and
// the resolved addresses. Owned by its task.
class TaskRecord {
public:
    static constexpr int kMaxTriggerInputs = 16;

    std::string functionTrigger;
    std::vector<std::string> triggerInputs;
    uint64_t triggerInputAddresses[kMaxTriggerInputs] = {};
    SymbolRecord bodySymbol;
    SymbolRecord triggerSymbol;
    Task* task = nullptr;

    bool AddTriggerInput(const std::string& name);
    int SetTriggerInputAddress(uint64_t address, uint16_t index);
    int SetFunctionTrigger(const std::string& name);
    std::string GetFunctionTrigger() const;
    std::vector<std::string> GetTriggerInputs() const;
    void SetBodySymbol(const SymbolRecord& record);
    void SetTriggerSymbol(const SymbolRecord& record);
    SymbolRecord* BodySymbol();
    SymbolRecord* TriggerSymbol();
    uint64_t* TriggerInputAddresses();
};

// A scheduled vECU function. Plug-ins call the virtual operations through
// the virtual table, so their order is part of the plug-in interface.
class Task {
public:
    TaskRecord* record;
    std::string name;
    int32_t kind;
    double period;
    double offset;
    uint32_t priority;
    int64_t maxActivations;
    double nextActivation;  // whole nanoseconds; NaN while not scheduled
    int64_t activationCount;
    double epsilon;
    int32_t scheduleClass;

    // Step-loop bookkeeping, not seen by plug-ins: the step in which the task
    // was last processed and the activation time it was processed at (within
    // a step a task is processed again only at a later time).
    uint64_t lastProcessedStep = 0;
    double lastProcessedActivation = 0.0;

    Task(const std::string& name, int32_t kind, double period, double offset, uint32_t priority,
         int64_t maxActivations);
    Task(Task&& other) noexcept;
    Task(const Task& other);
    Task& operator=(Task&& other) noexcept;
    Task& operator=(const Task& other);

    virtual ~Task();
    virtual int SetName(const std::string& name);
    virtual int SetPeriod(double seconds);
    virtual int SetOffset(double seconds);
    virtual int SetPriority(uint32_t priority);
    virtual int SetMaxActivations(int64_t maxActivations);
    virtual int SetNextActivation(double seconds);
    virtual int SetActivationCount(int64_t count);
    virtual const std::string& GetName();
    virtual int32_t GetKind();
    virtual double GetPeriod();
    virtual double GetOffset();
    virtual uint32_t GetPriority();
    virtual int64_t GetMaxActivations();
    virtual double GetNextActivation();
    virtual int64_t GetActivationCount();
    virtual const char* GetNameCStr();
};

// The task schedule; elements keep their address while they are in it.
using TaskList = std::list<Task>;

// Grows whenever a task operation may have changed a task's place in the
// schedule order (offset, priority, next activation). The step loop keeps
// its order up to date by moving only the task it ran, unless this count
// tells it that someone else (a plug-in) changed tasks meanwhile.
uint64_t TaskOrderRevision();

#endif
