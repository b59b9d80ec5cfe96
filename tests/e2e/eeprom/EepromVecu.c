/* A vECU that keeps non-volatile data in ordinary variables: its 10 ms task
   moves them on, so every simulation leaves them further than it found them. */

#include <stdint.h>

uint8_t nvmCounters[4];
uint16_t nvmWord;
int32_t taskRuns;

void Task10ms(void) {
    for (int i = 0; i < 4; ++i) nvmCounters[i] = (uint8_t)(nvmCounters[i] + i + 1);
    nvmWord = (uint16_t)(nvmWord + 0x0101);
    ++taskRuns;
}
