#include "VarvalLineBuffer.h"

char varvalLineBuffer[kVarvalLineBufferSize];
