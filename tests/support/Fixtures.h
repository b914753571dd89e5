#pragma once

#include <QImage>
#include <QString>
#include <QMetaType>
#include <QTemporaryFile>

#include <QStringList>

// Real media files made by the bundled ffmpeg at test time, and fake tools.
namespace Fixtures {

struct Video
{
    int width = 320;
    int height = 180;
    double seconds = 1.0; // at 25 frames a second, with stereo sound
    int rotate = 0;       // written as a display matrix, as phones do
};

QString ffmpeg();
QString ffprobe();

// Runs the bundled ffmpeg quietly; false (with its errors in the test log) on failure.
bool runFfmpeg(const QStringList &arguments);

// Makes a video at dir/name (the extension picks the container); empty on failure.
QString makeVideo(const QString &dir, const QString &name, const Video &video = {});

// The picture at seek seconds, as the crop's accurate seek gives it.
QImage frameAt(const QString &video, const QString &seek);
// The mean difference of two pictures per colour channel (0 ... 255), at the smaller size.
double difference(const QImage &a, const QImage &b);
// What ffprobe prints, as CSV, for arguments about the first video stream of video.
QString probed(const QString &video, const QStringList &arguments);
int videoFrameCount(const QString &video);
// What program (ffprobe, ffmpeg) prints on standard output for arguments, trimmed.
QString output(const QString &program, const QStringList &arguments);

// A file with the given bytes; empty on failure.
QString writeFile(const QString &path, const QByteArray &bytes);
// An executable shell script with the given body; empty on failure.
QString writeScript(const QString &path, const QByteArray &body);

// The process ids of the living children of pid (this process by default).
QList<qint64> childProcesses(qint64 pid = 0);
// Whether pid runs, a zombie not counting.
bool isRunning(qint64 pid);
QByteArray readFile(const QString &path);
// The files in dir, hidden ones too, by name.
QStringList filesIn(const QString &dir);

} // namespace Fixtures

// Collects what the process writes to standard output while it lives; a
// failed check's verdict among it is written out again at the end.
class CapturedStdout
{
public:
    CapturedStdout();
    ~CapturedStdout();
    CapturedStdout(const CapturedStdout &) = delete;
    CapturedStdout &operator=(const CapturedStdout &) = delete;

    QString text();

private:
    QTemporaryFile m_capture;
    int m_savedFd = -1;
};

