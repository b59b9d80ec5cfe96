#ifndef TESTS_AMBREL_STUB_VIRLO_CALLS_H
#define TESTS_AMBREL_STUB_VIRLO_CALLS_H

#include <string>

namespace variable_test {

// What the stand-in symbol library was asked (its StubVirloCalls export).
struct StubVirloCalls {
    int init = 0;
    std::string initPath;
    std::string initDbghelpPath;
    int cache = 0;
    std::string cacheMask;
    int get = 0;
    std::string getName;
    int clear = 0;
    int terminate = 0;
    bool terminateFlag = true;
};

}  // namespace variable_test

#endif
