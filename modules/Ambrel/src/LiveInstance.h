#ifndef AMBREL_LIVE_INSTANCE_H
#define AMBREL_LIVE_INSTANCE_H

// One live instance per process. The symbol library, the XCP slave, the
// plug-in callbacks and the vECU's globals are process-wide, so a second
// instance would share and corrupt them; an instance counts as alive from
// the start of its fmi2Instantiate until its fmi2FreeInstance.

// Takes the process's one instance place; false while another instance is
// alive or being built, on whatever thread. Of two threads asking at once,
// exactly one gets it.
bool ClaimLiveInstance();

// Gives the place back, once everything of the instance is released.
void ReleaseLiveInstance();

#endif
