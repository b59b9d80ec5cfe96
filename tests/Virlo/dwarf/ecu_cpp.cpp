#include "ecu_cpp.h"

namespace ns {

int Engine::speed = 3;
double Engine::ratio = 1.5;

void Engine::reset() { rpm = 0; }
int Engine::Get() const { return rpm; }

Engine engine;
Engine engines[2];
int value = 4;

namespace inner {
int deep = 7;
Config config;
}  // namespace inner

}  // namespace ns

Plain plains[3];
unsigned long Counter::total = 9;
Counter counter;

namespace {
int hidden = 2;
}

int tick(int x) {
    static int counted = 0;
    counted += x + hidden;
    return counted;
}
