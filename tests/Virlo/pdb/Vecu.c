/* A small vECU whose globals cover what the PDB reader composes names for. */

int g = 42;

struct Sample {
    int a;
    unsigned pad : 5;
    unsigned f : 3;
};
struct Sample s;

int m[2][3];

struct Point {
    int x;
    int y;
};
struct Point points[2];

struct Holder {
    int v[3];
};
struct Holder holders[2];

struct Node {
    int value;
    struct Node* next;
};
struct Node node;

enum Mode { MODE_OFF, MODE_ON, MODE_FAULT };
struct Flags {
    enum Mode mode : 3;
    unsigned on : 1;
};
struct Flags flags;

/* Sorts between the member and the element names of dup_arr. */
int dup_arr2 = 5;

float gain = 1.5f;

int Task10ms(void) { return g + s.a + m[1][2] + points[1].x + holders[1].v[2] + node.value + dup_arr2; }
