/* Two-element arrays nested 16 deep, each level an array of the typedef of
   the level below: 65,536 elements in all. */
typedef unsigned char Level1[2];
typedef Level1 Level2[2];
typedef Level2 Level3[2];
typedef Level3 Level4[2];
typedef Level4 Level5[2];
typedef Level5 Level6[2];
typedef Level6 Level7[2];
typedef Level7 Level8[2];
typedef Level8 Level9[2];
typedef Level9 Level10[2];
typedef Level10 Level11[2];
typedef Level11 Level12[2];
typedef Level12 Level13[2];
typedef Level13 Level14[2];
typedef Level14 Level15[2];
typedef Level15 Level16[2];

Level16 nested;
