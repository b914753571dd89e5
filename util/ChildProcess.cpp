#include "ChildProcess.h"

#include <QProcess>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

void prepareChildProcess(QProcess &process)
{
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // A tool outliving a killed Tessaly would go on writing a file nobody wants.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
}
