#ifndef FMI2_FUNCTION_TYPES_H
#define FMI2_FUNCTION_TYPES_H

/* Types of the FMI 2.0 functions and of the callbacks a master supplies. */

#include <stddef.h>

#include "fmi2TypesPlatform.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
    fmi2OK = 0,
    fmi2Warning = 1,
    fmi2Discard = 2,
    fmi2Error = 3,
    fmi2Fatal = 4,
    fmi2Pending = 5
} fmi2Status;

typedef enum {
    fmi2ModelExchange = 0,
    fmi2CoSimulation = 1
} fmi2Type;

typedef enum {
    fmi2DoStepStatus = 0,
    fmi2PendingStatus = 1,
    fmi2LastSuccessfulTime = 2,
    fmi2Terminated = 3
} fmi2StatusKind;

typedef void (*fmi2CallbackLogger)(fmi2ComponentEnvironment componentEnvironment,
                                   fmi2String instanceName, fmi2Status status,
                                   fmi2String category, fmi2String message, ...);
typedef void* (*fmi2CallbackAllocateMemory)(size_t nobj, size_t size);
typedef void (*fmi2CallbackFreeMemory)(void* obj);
typedef void (*fmi2StepFinished)(fmi2ComponentEnvironment componentEnvironment, fmi2Status status);

typedef struct {
    const fmi2CallbackLogger logger;
    const fmi2CallbackAllocateMemory allocateMemory;
    const fmi2CallbackFreeMemory freeMemory;
    const fmi2StepFinished stepFinished;
    const fmi2ComponentEnvironment componentEnvironment;
} fmi2CallbackFunctions;

typedef struct {
    fmi2Boolean newDiscreteStatesNeeded;
    fmi2Boolean terminateSimulation;
    fmi2Boolean nominalsOfContinuousStatesChanged;
    fmi2Boolean valuesOfContinuousStatesChanged;
    fmi2Boolean nextEventTimeDefined;
    fmi2Real nextEventTime;
} fmi2EventInfo;

/* Common functions */
typedef const char* fmi2GetTypesPlatformTYPE(void);
typedef const char* fmi2GetVersionTYPE(void);
typedef fmi2Status fmi2SetDebugLoggingTYPE(fmi2Component, fmi2Boolean, size_t, const fmi2String[]);
typedef fmi2Component fmi2InstantiateTYPE(fmi2String, fmi2Type, fmi2String, fmi2String,
                                          const fmi2CallbackFunctions*, fmi2Boolean, fmi2Boolean);
typedef void fmi2FreeInstanceTYPE(fmi2Component);
typedef fmi2Status fmi2SetupExperimentTYPE(fmi2Component, fmi2Boolean, fmi2Real, fmi2Real,
                                           fmi2Boolean, fmi2Real);
typedef fmi2Status fmi2EnterInitializationModeTYPE(fmi2Component);
typedef fmi2Status fmi2ExitInitializationModeTYPE(fmi2Component);
typedef fmi2Status fmi2TerminateTYPE(fmi2Component);
typedef fmi2Status fmi2ResetTYPE(fmi2Component);
typedef fmi2Status fmi2GetRealTYPE(fmi2Component, const fmi2ValueReference[], size_t, fmi2Real[]);
typedef fmi2Status fmi2GetIntegerTYPE(fmi2Component, const fmi2ValueReference[], size_t, fmi2Integer[]);
typedef fmi2Status fmi2GetBooleanTYPE(fmi2Component, const fmi2ValueReference[], size_t, fmi2Boolean[]);
typedef fmi2Status fmi2GetStringTYPE(fmi2Component, const fmi2ValueReference[], size_t, fmi2String[]);
typedef fmi2Status fmi2SetRealTYPE(fmi2Component, const fmi2ValueReference[], size_t, const fmi2Real[]);
typedef fmi2Status fmi2SetIntegerTYPE(fmi2Component, const fmi2ValueReference[], size_t, const fmi2Integer[]);
typedef fmi2Status fmi2SetBooleanTYPE(fmi2Component, const fmi2ValueReference[], size_t, const fmi2Boolean[]);
typedef fmi2Status fmi2SetStringTYPE(fmi2Component, const fmi2ValueReference[], size_t, const fmi2String[]);
typedef fmi2Status fmi2GetFMUstateTYPE(fmi2Component, fmi2FMUstate*);
typedef fmi2Status fmi2SetFMUstateTYPE(fmi2Component, fmi2FMUstate);
typedef fmi2Status fmi2FreeFMUstateTYPE(fmi2Component, fmi2FMUstate*);
typedef fmi2Status fmi2SerializedFMUstateSizeTYPE(fmi2Component, fmi2FMUstate, size_t*);
typedef fmi2Status fmi2SerializeFMUstateTYPE(fmi2Component, fmi2FMUstate, fmi2Byte[], size_t);
typedef fmi2Status fmi2DeSerializeFMUstateTYPE(fmi2Component, const fmi2Byte[], size_t, fmi2FMUstate*);
typedef fmi2Status fmi2GetDirectionalDerivativeTYPE(fmi2Component, const fmi2ValueReference[], size_t,
                                                    const fmi2ValueReference[], size_t,
                                                    const fmi2Real[], fmi2Real[]);

/* Co-simulation functions */
typedef fmi2Status fmi2SetRealInputDerivativesTYPE(fmi2Component, const fmi2ValueReference[], size_t,
                                                   const fmi2Integer[], const fmi2Real[]);
typedef fmi2Status fmi2GetRealOutputDerivativesTYPE(fmi2Component, const fmi2ValueReference[], size_t,
                                                    const fmi2Integer[], fmi2Real[]);
typedef fmi2Status fmi2DoStepTYPE(fmi2Component, fmi2Real, fmi2Real, fmi2Boolean);
typedef fmi2Status fmi2CancelStepTYPE(fmi2Component);
typedef fmi2Status fmi2GetStatusTYPE(fmi2Component, const fmi2StatusKind, fmi2Status*);
typedef fmi2Status fmi2GetRealStatusTYPE(fmi2Component, const fmi2StatusKind, fmi2Real*);
typedef fmi2Status fmi2GetIntegerStatusTYPE(fmi2Component, const fmi2StatusKind, fmi2Integer*);
typedef fmi2Status fmi2GetBooleanStatusTYPE(fmi2Component, const fmi2StatusKind, fmi2Boolean*);
typedef fmi2Status fmi2GetStringStatusTYPE(fmi2Component, const fmi2StatusKind, fmi2String*);

#ifdef __cplusplus
}
#endif

#endif
