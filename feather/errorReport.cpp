#include "feather/errorReport.h"

#include <iostream>

void reportApiError(const char* module, int line, const MStatus& status) {
    std::cerr << "\nAPI error detected in " << module << " at line " << line << std::endl;
    status.perror("");
}
