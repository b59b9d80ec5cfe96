/* Arrays with more element records than the reader stores for one file:
   one by its element count, one by the members of its elements. */
unsigned char frame[5000000];

struct Sample {
    int a;
    int b;
    int c;
};
struct Sample samples[1500000];

int after = 1;

int ReadLarge(void) { return frame[1] + samples[1].b + after; }
