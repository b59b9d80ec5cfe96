#ifndef AMBREL_UNSUPPORTED_FUNCTIONS_H
#define AMBREL_UNSUPPORTED_FUNCTIONS_H

#include "FmiInternalState.h"
#include "fmi2/fmi2FunctionTypes.h"

// The answer of an FMI function that this FMU does not offer: fmi2Error,
// with the message whatever the logging flag says, since a failing call
// must say why.
fmi2Status ReportUnsupported(const FmiInternalState& instance, const char* message);

// The same for the status queries, whose message names the asked kind.
fmi2Status ReportUnsupportedStatus(const FmiInternalState& instance, const char* function,
                                   fmi2StatusKind kind);

#endif
