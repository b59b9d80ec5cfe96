#ifndef PLATFORM_DEBUGGER_H
#define PLATFORM_DEBUGGER_H

namespace platform {

// True while a debugger (any tracer) is attached to this process.
bool IsDebuggerPresent();

// Blocks the calling thread for the given number of milliseconds.
void SleepMilliseconds(unsigned milliseconds);

}  // namespace platform

#endif
