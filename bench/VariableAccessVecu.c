/* 10,000 doubles for the variable-access benchmark. */
double variableAccessValues[10000];
