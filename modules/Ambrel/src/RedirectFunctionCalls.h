#ifndef AMBREL_REDIRECT_FUNCTION_CALLS_H
#define AMBREL_REDIRECT_FUNCTION_CALLS_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Collects the pairs of the RedirectFunctionCalls section; 0.
int32_t ReadRedirectFunctionCallsSection(FmiInternalState& instance, const std::string& folder,
                                         const std::string& instanceName);

// Patches every collected function so that its calls reach the replacement.
void InstallRedirects(FmiInternalState& instance);

// Writes back the original code of every patched function; must run before
// the vECU library is unloaded.
void RestoreRedirects(FmiInternalState& instance);

#endif
