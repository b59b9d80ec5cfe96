#include "NotifyPlugins.h"

void NotifyPlugins(const std::multimap<int32_t, std::unique_ptr<Plugin>>& plugins,
                   Operation& operation, OperationArguments& arguments) {
    for (const auto& [version, plugin] : plugins) plugin->Accept(operation, arguments);
}
