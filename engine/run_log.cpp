#include "run_log.h"

void WriteRunLog(FILE* log, FILE* also, const char* format, va_list args)
{
    if (log) {
        va_list copy;
        va_copy(copy, args);
        std::vfprintf(log, format, copy);
        va_end(copy);
    }
    if (also)
        std::vfprintf(also, format, args);
}
