#pragma once

#include "OutputSettings.h"
#include "media/MediaStream.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

// What a crop writes of one stream of its input, and how.
struct TrackPlan
{
    enum class Fate { encoded, copied, converted, dropped };

    MediaStream stream;
    Fate fate = Fate::dropped;
    QString codec;    // what it is written with: "libx264", "aac", "mov_text", "copy"
    int bitRate = 0;  // kb/s of sound encoded again
    int channels = 0; // of sound encoded again; 0: as they are
    QString why;      // for the result alert, where it is not kept as it was
    QString file;     // a text subtitle, timed to the trim, made just before the crop
};

// What a crop writes, decided from the input's streams, the container and
// the user's settings alone: the picture cropped and encoded in its own depth
// and colour; sound, subtitles and attachments kept as they are where the
// container holds them, converted where it does not, and dropped only where
// nothing can keep them, each with its reason.
struct OutputPlan
{
    Q_DECLARE_TR_FUNCTIONS(OutputPlan)

public:
    Container container = Container::mp4;
    QString videoEncoder; // "libx264", "libx265"; "copy" where no picture is encoded
    QString pixelFormat;  // "yuv420p", "yuv420p10le"
    QString preset;
    int crf = 23;
    PictureColour colour; // the source's, which the output is tagged with
    bool chapters = false;
    int chapterCount = 0; // in the input
    QList<TrackPlan> tracks; // those written, in output order with the picture first, then those dropped

    bool isWritten(const TrackPlan &track) const { return track.fate != TrackPlan::Fate::dropped; }
    // The codec of the picture where it is copied, cropped in its header; empty where it is encoded.
    QString copiedVideoCodec() const
    {
        return videoEncoder == u"copy" && !tracks.isEmpty() ? tracks.first().stream.codec : QString();
    }
    // Whether any text subtitle is written, which is prepared in a file of its own first.
    bool hasTextSubtitles() const;
    // A line for each track, for the result alert: what was kept, what changed and why.
    QStringList notes() const;
};

namespace OutputPlanner {

// Subtitles made of text, which any container holds in some form, and of pictures, which only Matroska holds.
bool isTextSubtitle(const QString &codec);
bool isPictureSubtitle(const QString &codec);
// Whether the container holds sound of codec as it is.
bool holdsAudio(Container container, const QString &codec);
// The bit rate sound of so many channels is encoded at, in kb/s.
int audioBitRate(int channels);
// The encoder's constant-quality value for a quality mark (0 ... 4) of settings.
int crfFor(const QString &encoder, int quality);
QString presetFor(const QString &encoder, OutputSettings::Speed speed);

// copyVideo: the picture is copied, cropped in its header (InstantCrop), not encoded.
OutputPlan plan(const QList<MediaStream> &streams, qint64 video, const PictureColour &colour, int chapterCount,
                Container container, const OutputSettings &settings, bool copyVideo = false);

} // namespace OutputPlanner
