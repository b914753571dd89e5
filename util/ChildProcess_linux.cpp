#include "ChildProcess.h"

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>

void prepareChildProcess(QProcess &process)
{
    process.setStandardInputFile(QProcess::nullDevice());
    // A tool outliving a killed Tessaly would go on writing a file nobody wants.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}
