/* A vECU for function-call redirection end to end. RunCalls, a first-step
   task, calls each function once, directly or through a pointer, and keeps
   what it answered: the originals answer 1 to 9, their replacements 100 and
   more. The originals also count their runs, which makes each of them
   longer than the jump a redirection writes. The calls must reach the
   functions' entries, so nothing may be inlined or folded. */

#include <stdint.h>

#define KEPT __attribute__((noinline, noipa, used))

int32_t originalRuns;

int32_t byNameResult;
int32_t byTextResult;
int32_t twiceResult;
int32_t sameAddressResult;
int32_t oneWordResult;
int32_t shortPaddedResult;
int32_t shortTightResult;
int32_t tightNeighbourResult;
int32_t guardedResult;

KEPT int32_t ByName(void) { ++originalRuns; return 1; }
KEPT int32_t ByText(void) { ++originalRuns; return 2; }
KEPT int32_t Twice(void) { ++originalRuns; return 3; }
KEPT int32_t SameAddress(void) { ++originalRuns; return 4; }
int32_t SameAddressAlias(void) __attribute__((alias("SameAddress")));
KEPT int32_t OneWord(void) { ++originalRuns; return 5; }
KEPT int32_t Guarded(void) { ++originalRuns; return 9; }

KEPT int32_t ByNameReplacement(void) { return 101; }
KEPT int32_t ByTextReplacement(void) { return 102; }
KEPT int32_t FirstReplacement(void) { return 103; }
/* Patched itself by a test: counting keeps it longer than a jump in every
   build, so that the jump covers none of ShortReplacement. */
int32_t secondReplacementRuns;
KEPT int32_t SecondReplacement(void) { ++secondReplacementRuns; return 113; }
KEPT int32_t ShortReplacement(void) { return 106; }

/* The short functions, laid out apart (RedirectShort.c). */
int32_t ShortPadded(void);
int32_t ShortTight(void);
int32_t TightNeighbour(void);

static int32_t (*volatile byTextCall)(void) = ByText;

KEPT void RunCalls(void) {
    byNameResult = ByName();
    byTextResult = byTextCall();
    twiceResult = Twice();
    sameAddressResult = SameAddress();
    oneWordResult = OneWord();
    shortPaddedResult = ShortPadded();
    shortTightResult = ShortTight();
    tightNeighbourResult = TightNeighbour();
    guardedResult = Guarded();
}
