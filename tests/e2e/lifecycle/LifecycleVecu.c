/* A small vECU for the lifecycle tests: a few signals, a periodic task and
 * a start-up that records the environment it was loaded into, and an unload
 * that records how often the terminate task ran. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

double vehicleSpeed = 12.5;
int stepCount = 0;
_Bool engineOn = 1;
int initCount = 0;
int terminateCount = 0;

static char resourceFolder[4096];

/* Writes a marker file into the resource folder the runtime announced. */
static void WriteMarker(const char* name, const char* text) {
    char path[4200];
    FILE* file;
    if (resourceFolder[0] == '\0') return;
    snprintf(path, sizeof path, "%s%s", resourceFolder, name);
    file = fopen(path, "w");
    if (file == NULL) return;
    fputs(text, file);
    fclose(file);
}

static const char* Variable(const char* name) {
    const char* value = getenv(name);
    return value != NULL ? value : "<unset>";
}

__attribute__((constructor)) static void Start(void) {
    char text[9000];
    const char* folder = getenv("QUORVEL_FMURESOURCES");
    if (folder != NULL) strncpy(resourceFolder, folder, sizeof resourceFolder - 1);
    snprintf(text, sizeof text, "%s\n%s\n", Variable("QUORVEL_FMURESOURCES"),
             Variable("LIFECYCLE_SETTING"));
    WriteMarker("vecu-started.txt", text);
}

/* Tells how often the terminate task ran in this image before it was unloaded. */
__attribute__((destructor)) static void Stop(void) {
    char text[64];
    snprintf(text, sizeof text, "terminate runs: %d\n", terminateCount);
    WriteMarker("vecu-stopped.txt", text);
}

void OnEnterInit(void) { ++initCount; }

void OnTerminate(void) { ++terminateCount; }

void Task10ms(void) {
    ++stepCount;
    if (engineOn) vehicleSpeed += 0.5;
}
