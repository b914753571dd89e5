#pragma once

#include <QList>
#include <QSize>
#include <QStringList>

#include <optional>

// The command lines that make the eleven posters, as pure functions. A poster
// is the keyframe at or before its time, reached by a seek before the input
// and decoded alone, so its cost does not grow with the file. A video cheap to
// decode whole is decoded once from its start instead, and every poster is
// the exact picture of its time.
namespace PosterPlanner {

// Decoding more pixels than this from the start is not worth the exactness.
inline constexpr double wholePixelBudget = 200e6;

// What the runs read, and the size of the posters they write.
struct Source
{
    QString path;
    std::optional<qint64> stream; // its index in the file; the first video stream when unknown
    QSize frame;                  // as stored
    QSize posterSize;             // invalid: as stored
    double startTime = 0;         // of the file's timestamps, which a listing's times count from
    bool described = false;       // by its container's header, all a run needs: no picture is decoded first
    QString format;               // the container, as the probe names it
};

// One seek of a run and the posters that its first keyframe serves.
struct Input
{
    double seek;
    QList<int> posters; // 1 ... 11
};

// n / 12 of the duration, for n = 1 ... 11, to the millisecond: where the slider marks them.
QList<double> posterTimes(double duration);
// The encoder's output arguments that write frames pictures as JPEG files named file.
QStringList posterOutput(int frames, const QString &file);
// Whether one pass from the start up to the last poster is cheap enough.
bool decodesWhole(const QList<double> &times, double frameRate, double pixelsPerPicture);
// Whether the container's seeks land on the keyframe at or before a time, by
// its index; elsewhere (MPEG-TS and other streams) a seek lands anywhere, and
// the keyframes are listed first.
bool seeksByIndex(const QString &formatName);
// Whether the container's header tells each stream's codec, size and start,
// so that an input need not decode pictures from the file's start to learn
// them (as MP4 and Matroska do; MPEG-TS tells them only in its packets).
bool describesStreams(const QString &formatName);
// How long before a time a decode must start to reach every picture from it:
// nothing where the index leads to the keyframe at or before; elsewhere the
// decoder starts at the first keyframe after where the seek lands, and
// keyframes are taken to lie at most 10 s apart.
double seekLead(const QString &formatName);

// How far on either side of a time its keyframes are listed: a keyframe
// interval of 10 s, the longest that encoders use by default, has one there.
inline constexpr double listedReach = 5;

// The probe tool's arguments that list the packets within reach of each time.
QStringList keyframeListingArguments(const Source &source, const QList<double> &times, double reach = listedReach);
// The keyframes' times in a listing, from the file's start, sorted.
QList<double> keyframeTimes(const QByteArray &listing);
// The inputs for posters (numbers from 1, of times): one per keyframe that
// serves a poster (of those within reach, the last at or before its time,
// else the first after it), or one per time where none is known.
QList<Input> inputs(const QList<double> &times, const QList<int> &posters, const QList<double> &keyframes);

// The encoder's arguments that write input i's poster as <prefix><i>.jpg,
// each the first keyframe its seek reaches.
QStringList keyframeRunArguments(const Source &source, const QList<Input> &inputs, const QString &prefix);
// The encoder's arguments that decode the video from its start and write the
// first picture at or after each time as <prefix>0_<k>.jpg, k = 1, 2, ...
QStringList wholeRunArguments(const Source &source, const QList<double> &times, const QString &prefix);

// The times the encoder reports for the pictures it picked, per input, in order.
QList<QList<double>> pickedTimes(const QString &messages);
// The error that made a run fail, without its level; never a warning.
QString decisiveError(const QString &messages);

} // namespace PosterPlanner
