#ifndef TESTS_E2E_PLUGINS_PLUGIN_RECORD_H
#define TESTS_E2E_PLUGINS_PLUGIN_RECORD_H

// How the fixture plug-ins tell the test what happened to them: one line
// per event, appended to plugin-calls.txt in the resource folder that the
// runtime announces. A file outlives the plug-in, which is unloaded at
// fmi2Terminate.

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

static void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));

static void Record(const char* format, ...) {
    const char* folder = std::getenv("QUORVEL_FMURESOURCES");
    if (folder == nullptr) return;
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    std::FILE* file = std::fopen((std::string(folder) + "plugin-calls.txt").c_str(), "a");
    if (file == nullptr) return;
    std::fprintf(file, "%s\n", line);
    std::fclose(file);
}

#endif
