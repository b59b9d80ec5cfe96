/* The other unit with file statics of the same names. */
static int shared = 2;
static int dup_arr[2] = {3, 4};
static struct {
    int x;
} spot = {5};

int ReadUnitB(void) { return shared + dup_arr[0] + spot.x; }
