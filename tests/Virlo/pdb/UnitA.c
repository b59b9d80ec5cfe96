/* One of two units with file statics of the same names. */
static int shared = 1;
static int dup_arr[2] = {1, 2};
static struct {
    int x;
} spot = {3};

int ReadUnitA(void) { return shared + dup_arr[1] + spot.x; }
