/* Structures that each hold two of the one before, 12 deep, every member
   named with 4,097 characters: 8,191 records whose names take more
   characters than the reader stores for one file. */
#define JOIN(a, b) JOIN_(a, b)
#define JOIN_(a, b) a##b
#define TWICE(x) JOIN(x, x)
/* m repeated 4,096 times, then the letter. */
#define LONG_NAME(letter) JOIN(TWICE(TWICE(TWICE(TWICE(TWICE(TWICE(TWICE(TWICE(TWICE(TWICE(TWICE(TWICE(m)))))))))))), letter)

struct Level0 {
    char LONG_NAME(a);
    char LONG_NAME(b);
};
#define LEVEL(n, below)                 \
    struct Level##n {                   \
        struct Level##below LONG_NAME(a); \
        struct Level##below LONG_NAME(b); \
    }
LEVEL(1, 0);
LEVEL(2, 1);
LEVEL(3, 2);
LEVEL(4, 3);
LEVEL(5, 4);
LEVEL(6, 5);
LEVEL(7, 6);
LEVEL(8, 7);
LEVEL(9, 8);
LEVEL(10, 9);
LEVEL(11, 10);

struct Level11 nested;

int ReadNested(void) { return sizeof nested; }
