#pragma once

#include <QList>
#include <QSize>
#include <QStringList>

#include <optional>

// Which encoder runs make the eleven posters, and how. Every run decodes from
// a keyframe, and a run may read the video at several keyframes at once. A
// poster is the picture of its time when decoding up to it from the keyframe
// before it is cheap; otherwise, and whenever the keyframes are unknown, it is
// the picture of that keyframe itself. Posters that share a keyframe interval
// are decoded by one pass over it, and keyframe posters a few keyframes apart
// by one pass that decodes keyframes only. A video cheap to decode whole needs
// no keyframes: one pass from its start makes every poster.
namespace PosterPlanner {

// Decoding more than this many pixels to reach a poster is not worth its exactness.
inline constexpr double exactPixelBudget = 200e6;
// Decoding the keyframes between two keyframe posters, rather than seeking to
// the second, is cheaper up to this many pixels (two 1080p keyframes): each seek
// opens the file again.
inline constexpr double skippedKeyframeBudget = 4.5e6;
// Keyframes decoded in one pass from the start, rather than by runs on every
// core, up to this many pixels (twelve 1080p keyframes).
inline constexpr double keyframeSweepBudget = 25e6;

struct Poster
{
    int number;    // 1 ... 11
    double offset; // seconds past the input's seek
    bool operator==(const Poster &other) const { return number == other.number && offset == other.offset; }
};

// The video read from one seek: at a known keyframe, or (when the keyframes
// are unknown) wherever the seek lands, the keyframe at or before the time.
// An input that decodes keyframes only has keyframes for its posters.
struct Input
{
    double seek;
    bool atKeyframe;
    QList<Poster> posters;
    double cost; // pixels decoded
    bool keyframesOnly = false;
    bool operator==(const Input &other) const
    {
        return seek == other.seek && atKeyframe == other.atKeyframe && posters == other.posters
            && keyframesOnly == other.keyframesOnly;
    }
};

using Run = QList<Input>;

struct Video
{
    double frameRate = 0; // pictures per second; 0 when unknown
    double pixels = 0;    // per picture
};

// Whether one pass over the whole video, up to its last poster, is cheap enough.
bool decodesWhole(const QList<double> &times, const Video &video);

// One input from the start that decodes keyframes only, when every poster is a
// keyframe by the rule and the keyframes up to the last cost at most
// keyframeSweepBudget: an encoder loaded in advance can make them all.
std::optional<Input> keyframesFromStart(const QList<double> &times, const QList<double> &keyframes, const Video &video);

// The runs for the posters at times (seconds, in poster order), given the
// video stream's keyframe times (sorted; empty when unknown), spread over at
// most runs runs of about equal cost.
QList<Run> plan(const QList<double> &times, const QList<double> &keyframes, const Video &video, int runs);

// What the runs read, and the size of the posters they write.
struct Source
{
    QString path;
    std::optional<qint64> stream; // its index in the file; the first video stream when unknown
    QSize frame;                  // as stored
    QSize posterSize;             // invalid: as stored
};

// The encoder's inputs for a run: a seek and the video for each.
QStringList inputArguments(const Source &source, const Run &run);
// The filter graph that picks each input's frames in one pass (the first at or
// past each offset), reports their times through showinfo@in<i>, and scales
// them into [out<i>].
QString filterGraph(const Source &source, const Run &run);
// The outputs: input i's frames, at most frames of them, as <prefix><i>_<k>.jpg.
QStringList outputArguments(const Run &run, const QString &prefix, std::optional<int> frames = std::nullopt);
// The whole command line of a run.
QStringList runArguments(const Source &source, const Run &run, const QString &prefix);
// The command line that decodes from the start up to seek, every reference
// there, and writes that one frame as framePath.
QStringList fromStartArguments(const Source &source, const QString &seek, const QString &framePath);

} // namespace PosterPlanner
