/* A dataset library that lacks GetDataset, as a broken installation would. */
int AddDataset(void) { return 0; }
int ClearDatasets(void) { return 0; }
