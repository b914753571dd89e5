#include "ChildProcess.h"

#include <QProcess>

// Elsewhere a tool ends with Tessaly when Tessaly ends normally (its ToolRun kills it); a Tessaly killed outright
// leaves it to finish its work.
void prepareChildProcess(QProcess &process)
{
    process.setStandardInputFile(QProcess::nullDevice());
}
