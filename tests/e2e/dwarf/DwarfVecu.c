/* The vECU of the DWARF end-to-end test: variables of several storage
   types, a structure with nested members, bit fields and arrays, all named
   by symbol in fmiVariables and found through a table that the .die reader
   made from this library's own debug information. */
#include <stdbool.h>
#include <stdint.h>

typedef enum { GearPark, GearReverse, GearNeutral, GearDrive } Gear;

typedef struct {
    uint8_t enabled : 1;
    uint8_t level : 3;
    int8_t trim : 4;
    uint16_t counter;
} Flags;

typedef struct {
    double speed;
    Flags flags;
    int32_t history[3];
    struct {
        float gain;
        unsigned int window : 12;
    } filter;
} Controller;

double engineSpeed = 812.5;
long odometer = 5000000000L;
Gear gear = GearNeutral;
bool ignition = true;
Controller controller = {
    .speed = 1.25, .flags = {1, 5, -3, 700}, .history = {10, 20, 30}, .filter = {0.75f, 3000}};
uint16_t table[2][3] = {{1, 2, 3}, {4, 5, 6}};

/* What the ECU code itself sees. */
unsigned ControllerLevel(void) { return controller.flags.level; }
int ControllerTrim(void) { return controller.flags.trim; }
unsigned FilterWindow(void) { return controller.filter.window; }
