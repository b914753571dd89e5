#include "ChildProcess.h"

#include <QProcess>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

void prepareChildProcess(QProcess &process, ChildPriority priority)
{
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    process.setChildProcessModifier([priority] {
#ifdef Q_OS_LINUX
        // A tool outliving a killed Tessaly would go on writing a file nobody wants.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
        if (priority == ChildPriority::Background) {
            [[maybe_unused]] const int niceness = ::nice(10);
        }
    });
#else
    Q_UNUSED(priority);
#endif
}
