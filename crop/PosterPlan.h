#pragma once

#include <QList>
#include <QSize>
#include <QStringList>

#include <optional>

// How the posters are made, as pure functions of the video. Each poster is
// the picture of a time n / 12 of the video: exact where the video is cheap to
// decode whole (one pass from its start); elsewhere the keyframe its seek
// reaches, so that the cost does not grow with the file. A poster's mark on
// the slider is its picture's own time, whichever.
namespace PosterPlan {

inline constexpr int count = 11;
// Decoding more pixels than this from the start costs more than half a second on two cores.
inline constexpr double wholePixelBudget = 300e6;

// What the pictures come from.
struct Video
{
    QString path;
    std::optional<qint64> stream; // its index in the file; the first video stream when unknown
    QString format;               // the container, as the probe names it
    double duration = 0;          // of the pictures, in seconds
    double frameRate = 0;
    QSize frame;                  // as stored
    QSize shown;                  // as the viewer sees it
    double startTime = 0;         // of the file's timestamps
    int rotation = 0;             // clockwise, for showing
};

// One encoder run and the posters it makes (numbers from 0, of times()).
struct Run
{
    QStringList arguments;
    QList<int> posters;
    QList<double> seeks; // per input, where its picture's reported time counts from; none for a whole pass
};

// n / 12 of the duration, n = 1 ... 11, to the millisecond (a seek of whole milliseconds lands on whole
// ticks of every time base, so a picture's time comes back exact); every picture of a video of fewer.
QList<double> times(const Video &video);
// Whether one pass from the start up to the last time is cheap enough.
bool decodesWhole(const Video &video, const QList<double> &times);
// The posters' size: the picture as shown, within bound, even.
QSize posterSize(QSize shown, QSize bound);
// How the posters of times are split between the runs: all in one where decodesWhole(); else in two, one
// for each core, the first taking fewer so the first poster comes soon.
QList<QList<int>> parts(const Video &video, const QList<double> &times);
// Whether the keyframes around the posters' times are listed before part's run: where the container's seeks
// land anywhere (MPEG-TS), so that each seek lands on its keyframe and decodes that picture alone.
bool listsKeyframes(const Video &video, const QList<double> &times);
// The probe tool's arguments that list the packets from 5 s before to 5 s after each of times.
QStringList keyframeListing(const Video &video, const QList<double> &times);
// The keyframes' times in such a listing, from the file's start, sorted.
QList<double> keyframes(const QByteArray &listing);
// The run that makes posters (numbers from 0, of times) into folder, as part p, each poster's picture at
// pictureFile(); keyframes: those listed around its times, where listsKeyframes().
Run run(const Video &video, QSize posterSize, const QList<double> &times, const QList<int> &posters, int p,
        const QString &folder, const QList<double> &keyframes = {});
// Where run r writes its output k (from 0).
QString pictureFile(const QString &folder, int run, int output);

// The encoder's output arguments that write frames pictures as JPEG files named file.
QStringList jpegOutput(int frames, const QString &file);
// The times the encoder reports for the pictures it picked, per input, in order.
QList<QList<double>> pickedTimes(const QString &messages);
// The error that made a run fail, without its level; never a warning.
QString decisiveError(const QString &messages);

} // namespace PosterPlan
