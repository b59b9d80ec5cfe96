#ifndef VIRLO_LIBRARY_LOCK_H
#define VIRLO_LIBRARY_LOCK_H

// The lock that one use of the library holds from InitVirlo to
// TerminateVirlo. It is created by the first entry, recursive for the thread
// that holds it, and destroyed when that thread releases it, unless another
// thread is already waiting for it (the waiter then takes it over).

// Creates the lock when there is none and enters it, waiting while another
// thread holds it. 0, or the error code of a failed creation (the lock then
// does not exist and is not held).
int EnterLibraryLock();

// True when the calling thread holds the lock.
bool HoldsLibraryLock();

// Leaves every level that the calling thread entered and destroys the lock.
// Does nothing unless the calling thread holds it.
void ReleaseLibraryLock();

#endif
