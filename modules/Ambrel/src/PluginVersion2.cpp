#include "PluginVersion2.h"

#include "Operation.h"

void PluginVersion2::Accept(Operation& operation, OperationArguments& arguments) {
    operation.VisitVersion2(*this, arguments);
}
