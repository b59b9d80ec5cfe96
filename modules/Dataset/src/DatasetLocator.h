#ifndef DATASET_DATASET_LOCATOR_H
#define DATASET_DATASET_LOCATOR_H

#include <string>

// A dataset locator names a dataset file as "encoding:path", split at the
// first ':' (a Windows drive letter therefore stays with the path when an
// encoding precedes it). Without a colon the whole text is both parts.
struct DatasetLocatorParts {
    std::string encoding;
    std::string path;
};

inline DatasetLocatorParts SplitDatasetLocator(const std::string& locator) {
    const std::string::size_type colon = locator.find(':');
    if (colon == std::string::npos) return {locator, locator};
    return {locator.substr(0, colon), locator.substr(colon + 1)};
}

#endif
