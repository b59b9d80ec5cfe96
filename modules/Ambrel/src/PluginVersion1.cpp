#include "PluginVersion1.h"

#include "Operation.h"

void PluginVersion1::Accept(Operation& operation, OperationArguments& arguments) {
    operation.VisitVersion1(*this, arguments);
}
