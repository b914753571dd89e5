// Arbitrary bytes as the probe tool's report, through the derivation FileProbe runs.
#include "media/FileProbe.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace {
QString path;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The record reads the file's facts; give it a real, small file.
    path = QDir::tempPath() + QStringLiteral("/tessaly-fuzz-input.mp4");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("fuzz");
    // Parse errors are written to standard output; keep the fuzzer's own output readable.
    std::fflush(stdout);
    std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray report(reinterpret_cast<const char *>(data), qsizetype(size));
    const FileProbe probe = FileProbe::fromReport(path, report);
    // Touch what the application reads, so derived values are used.
    volatile bool accepted = probe.isValidMediaFile() && !probe.hasErrors() && probe.hasVideoTrack()
        && probe.videoWidth().value_or(0) > 0 && probe.videoRatio().value_or(0) > 0
        && probe.tracksInfo().size() >= 0 && probe.metadata().size() >= 0 && probe.duration() >= 0;
    (void)accepted;
    return 0;
}
