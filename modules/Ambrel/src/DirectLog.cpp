#include "DirectLog.h"

const char* LogCategoryName(LogCategory status) {
    switch (status) {
    case LogCategory_log: return "log";
    case LogCategory_warning: return "warning";
    case LogCategory_error: return "error";
    }
    return "error";
}
