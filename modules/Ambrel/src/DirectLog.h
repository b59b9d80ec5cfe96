#ifndef AMBREL_DIRECT_LOG_H
#define AMBREL_DIRECT_LOG_H

// Messages that go straight to the master's logger with a fixed format and
// its arguments, the master doing the formatting. Used before the instance
// record exists (through the fmi2Instantiate arguments) and for the FMI
// functions' own notes (through the record's callbacks).

#include <type_traits>

#include "FmiInternalState.h"
#include "fmi2/fmi2FunctionTypes.h"

// The category text that goes with a status.
const char* LogCategoryName(LogCategory status);

// The format must be a constant text of this library; everything that
// comes from outside (names, paths, exception texts) travels as an argument,
// so a '%' in it is never taken as a conversion.
template <typename... Arguments>
void DirectLog(const fmi2CallbackFunctions* functions, fmi2String instanceName, LogCategory status,
               const char* format, Arguments... arguments) {
    static_assert(((std::is_arithmetic_v<Arguments> || std::is_pointer_v<Arguments>) && ...),
                  "only numbers and C strings can pass through a variadic logger");
    if (functions == nullptr || functions->logger == nullptr) return;
    // A master may print the name without checking it, so never hand it null.
    functions->logger(functions->componentEnvironment, instanceName != nullptr ? instanceName : "",
                      static_cast<fmi2Status>(status), LogCategoryName(status), format,
                      arguments...);
}

template <typename... Arguments>
void DirectLog(const FmiInternalState& instance, LogCategory status, const char* format,
               Arguments... arguments) {
    DirectLog(instance.callbackFunctions, instance.instanceName.c_str(), status, format,
              arguments...);
}

#endif
