#include "ResourcesFileCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "DirectLog.h"
#include "ResourcesFile.h"

bool CheckResourcesFile(const std::string& folder, const fmi2CallbackFunctions* functions,
                        fmi2String instanceName) {
    const std::string path = folder + kResourcesFileName;
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    // A folder opens as well; only reading tells it from a file.
    const int first = file != nullptr ? std::fgetc(file) : EOF;
    const bool unreadable = file == nullptr || std::ferror(file) != 0;
    const int error = errno;
    if (file != nullptr) std::fclose(file);
    if (unreadable) {
        DirectLog(functions, instanceName, LogCategory_error, "fmi2Instantiate: Cannot open file '%s': %s",
                  path.c_str(), std::strerror(error != 0 ? error : EIO));
        return false;
    }
    if (first == EOF)
        DirectLog(functions, instanceName, LogCategory_warning,
                  "fmi2Instantiate: '%s' is empty: it configures nothing.", path.c_str());
    return true;
}
