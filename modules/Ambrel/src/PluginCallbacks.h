#ifndef AMBREL_PLUGIN_CALLBACKS_H
#define AMBREL_PLUGIN_CALLBACKS_H

// The functions of the callback table. They have no context argument: the
// ones that need an instance work on currentInstance, and the name lookups
// go through the bound symbol library. With no current instance, no bound
// library, or a null name, message or task, they answer null, 0 or nothing
// (a task setter refuses with its usual refusal).

#include "QorvCallbacks.h"

// Writes the message to standard output and sends it to the master's
// logger as a warning, whatever the logging flag says.
void CallbackLog(const char* message);
// The symbol library's record of the name (owned by its cache until
// fmi2Terminate), or null.
const SymbolRecord* CallbackGetSymbolRecord(const char* name);
// The scheduled task whose body function lies at the name's address: 1 and
// the task through the out-parameter, or 0 with the out-parameter untouched.
int CallbackFindTask(const char* name, Task** task);
// The instance's owner of the accessor of the variable at the name's
// address; the null accessor's owner for a name that is no variable.
SymbolAccess** CallbackGetVariableAccess(const char* name);

// Fills the table: the four given functions in its first four words, the
// fixed variable and task functions in the others.
QorvCallbacks1& BuildPluginCallbacks(QorvCallbacks1& table,
                                     decltype(QorvCallbacks1::log) log = CallbackLog,
                                     decltype(QorvCallbacks1::getSymbolRecord) getSymbolRecord =
                                         CallbackGetSymbolRecord,
                                     decltype(QorvCallbacks1::findTask) findTask = CallbackFindTask,
                                     decltype(QorvCallbacks1::getVariableAccess) getVariableAccess =
                                         CallbackGetVariableAccess);

#endif
