// Types and globals of the C++ fixture vECU.
#ifndef DWARF_FIXTURE_ECU_CPP_H
#define DWARF_FIXTURE_ECU_CPP_H

#include <cstdint>

namespace ns {

enum class Gear : short { Park, Reverse, Drive };

class Engine {
public:
    static int speed;
    static double ratio;
    int rpm;
    Gear gear;
    unsigned flags : 5;
    unsigned level : 3;
    double torque[4];
    void reset();
    int Get() const;
};

extern Engine engine;
extern Engine engines[2];
extern int value;

namespace inner {
struct Config {
    int limit;
    char label[8];
};
extern int deep;
extern Config config;
}  // namespace inner

}  // namespace ns

struct Plain {
    int a;
    long b;
    unsigned short bits : 9;
};

class Counter {
public:
    static unsigned long total;
    int n;
};

extern Plain plains[3];
extern Counter counter;

int tick(int x);

#endif
