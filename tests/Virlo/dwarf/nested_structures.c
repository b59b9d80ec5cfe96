/* Structures that each hold two of the one before, 22 deep: a variable of
   the last expands into 2^23 - 1 records (every structure and every char),
   more than the reader stores for one file. The names around it sort before
   and after it. */
struct Level0 {
    char a;
    char b;
};
struct Level1 {
    struct Level0 a;
    struct Level0 b;
};
struct Level2 {
    struct Level1 a;
    struct Level1 b;
};
struct Level3 {
    struct Level2 a;
    struct Level2 b;
};
struct Level4 {
    struct Level3 a;
    struct Level3 b;
};
struct Level5 {
    struct Level4 a;
    struct Level4 b;
};
struct Level6 {
    struct Level5 a;
    struct Level5 b;
};
struct Level7 {
    struct Level6 a;
    struct Level6 b;
};
struct Level8 {
    struct Level7 a;
    struct Level7 b;
};
struct Level9 {
    struct Level8 a;
    struct Level8 b;
};
struct Level10 {
    struct Level9 a;
    struct Level9 b;
};
struct Level11 {
    struct Level10 a;
    struct Level10 b;
};
struct Level12 {
    struct Level11 a;
    struct Level11 b;
};
struct Level13 {
    struct Level12 a;
    struct Level12 b;
};
struct Level14 {
    struct Level13 a;
    struct Level13 b;
};
struct Level15 {
    struct Level14 a;
    struct Level14 b;
};
struct Level16 {
    struct Level15 a;
    struct Level15 b;
};
struct Level17 {
    struct Level16 a;
    struct Level16 b;
};
struct Level18 {
    struct Level17 a;
    struct Level17 b;
};
struct Level19 {
    struct Level18 a;
    struct Level18 b;
};

struct Level20 {
    struct Level19 a;
    struct Level19 b;
};
struct Level21 {
    struct Level20 a;
    struct Level20 b;
};

int before = 1;
struct Level21 nested;
int tail = 2;

