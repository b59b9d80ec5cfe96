#include "WorkspaceFolder.h"

#include "platform/Environment.h"

std::filesystem::path WorkspaceFolder() {
    const char* workspace = platform::GetEnvironment(kQuorvelWorkspace);
    return workspace != nullptr ? std::filesystem::path(workspace) : std::filesystem::path();
}
