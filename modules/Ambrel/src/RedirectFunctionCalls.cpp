#include "RedirectFunctionCalls.h"

#include "FmiInternalState.h"

// Function-call redirection is not offered yet: nothing is read or patched.
int32_t ReadRedirectFunctionCallsSection(FmiInternalState&, const std::string&, const std::string&) {
    return 0;
}

void InstallRedirects(FmiInternalState&) {}

void RestoreRedirects(FmiInternalState&) {}
