/* A tiny shared library for the module-loading tests. */
int moduleValue = 42;

int ModuleFunction(void) { return moduleValue + 1; }
