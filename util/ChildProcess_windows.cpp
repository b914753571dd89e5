#include "ChildProcess.h"

#include <QProcess>

#include <windows.h>

namespace {

// One job for all tools, closed by the system when Tessaly ends, however it ends: its processes end with it.
HANDLE toolsJob()
{
    static const HANDLE job = [] {
        HANDLE created = ::CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created)
            ::SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    return job;
}

} // namespace

void prepareChildProcess(QProcess &process)
{
    process.setStandardInputFile(QProcess::nullDevice());
    QObject::connect(&process, &QProcess::started, &process, [&process] {
        const HANDLE child = ::OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, DWORD(process.processId()));
        if (child && toolsJob())
            ::AssignProcessToJobObject(toolsJob(), child);
        if (child)
            ::CloseHandle(child);
    });
}
