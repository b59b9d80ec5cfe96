#include "platform/Process.h"

#include <unistd.h>

#include <cstdint>

namespace platform {

ProcessHandle CurrentProcess() {
    // Process ids are positive, so the handle is never null.
    return reinterpret_cast<ProcessHandle>(static_cast<uintptr_t>(getpid()));
}

}  // namespace platform
