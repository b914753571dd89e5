#pragma once

#include <QString>

// Writes one line, not meant for the user, to standard output.
void writeDiagnostic(const QString &line);
