#ifndef AMBREL_REDIRECT_FUNCTION_CALLS_H
#define AMBREL_REDIRECT_FUNCTION_CALLS_H

// The steps of function-call redirection as instantiation and release run
// them: read the pairs, patch the functions, write their code back.

#include <cstdint>
#include <string>

class FmiInternalState;

// Creates the instance's redirect table and collects the pairs of the
// RedirectFunctionCalls section into it; 0.
int32_t ReadRedirectFunctionCallsSection(FmiInternalState& instance, const std::string& folder,
                                         const std::string& instanceName);

// Patches every collected function so that its calls reach the replacement.
// A pair that does not resolve, or whose patch would break code, overlap
// another patch or make calls loop, is reported and skipped.
void InstallRedirects(FmiInternalState& instance);

// Writes back the original code of every patched function and releases the
// table; must run before the vECU library is unloaded. A function whose code
// cannot be written back is reported as a failure of the FMI function named;
// false then.
bool RestoreRedirects(FmiInternalState& instance, const char* function);

#endif
