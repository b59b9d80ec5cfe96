#include "CompuMethod.h"

#include "ScalingRecord.h"

double ApplyCompuMethod(double value, const ScalingRecord&) { return value; }

int64_t ApplyCompuMethodInteger(int64_t value, const ScalingRecord&) { return value; }
