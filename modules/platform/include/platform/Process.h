#ifndef PLATFORM_PROCESS_H
#define PLATFORM_PROCESS_H

namespace platform {

// Opaque handle that names a process to libraries keyed by process.
using ProcessHandle = void*;

// The handle of the calling process: never null, the same on every call in
// one process, different in another process.
ProcessHandle CurrentProcess();

}  // namespace platform

#endif
