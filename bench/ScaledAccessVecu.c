/* The bench's vECU: one block of doubles, each an FMI variable. */
double scaledAccessValues[10000];
