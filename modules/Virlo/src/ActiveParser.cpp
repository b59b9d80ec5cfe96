#include "ActiveParser.h"

ActiveParser& ActiveParserInstance() {
    static ActiveParser active;
    return active;
}
