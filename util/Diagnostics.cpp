#include "Diagnostics.h"

#include <cstdio>

void writeDiagnostic(const QString &line)
{
    std::printf("%s\n", qUtf8Printable(line));
    std::fflush(stdout);
}
