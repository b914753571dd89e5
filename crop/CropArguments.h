#pragma once

#include "InstantCrop.h"
#include "OutputPlan.h"
#include "selection/CropKeyframes.h"
#include "util/PixelShape.h"

#include <QRect>
#include <QSize>
#include <QStringList>

#include <optional>

// The part of a video to keep, in seconds.
struct Trim
{
    double start = 0;
    double end = 0;
    bool operator==(const Trim &other) const { return start == other.start && end == other.end; }
};

// The part nearest to wanted that a crop can keep: the edge the user edited
// (the start when startEdited) moves to within the video, at least minimum
// from the other edge, which stays where it can.
Trim fittedTrim(Trim wanted, double duration, double minimum, bool startEdited);

// One crop as the user asked for it.
struct CropRequest
{
    QString input;
    QString inputFormat;       // the input's container, as the probe names it
    std::optional<qint64> videoStream; // the input's video stream to crop
    QString destination;
    QString replaces;          // the identity of the file at destination the user agreed to replace; empty: none
    QRect crop;                // in stored video pixels, top-left origin
    QList<CropKeyframe> keyframes; // the same in time, where the crop moves (two or more)
    QString filterScript;      // a file holding pictureFilter(), given to the encoder instead of the text; empty: none
    int scalePercent = 100;    // 100: unscaled
    QSize scaledSize;          // the output size in stored pixels when scaled
    PixelShape sampleAspect; // the input's pixel shape, which the output keeps
    bool deinterlace = false;  // the input's pictures are fields: made progressive first
    QString creationTime;      // the input's recording date, kept; empty: none
    double inputDuration = 0;  // seconds of the picture, for the progress
    double startTime = 0;      // of the input's timestamps, which its subtitles' times count from
    std::optional<Trim> trim;  // nothing: the whole video
    double seekLead = 0;       // seconds decoded before the trim's start, which the output drops
    double videoEnd = 0;       // where the input's pictures end, from its start, as the probe measured it; 0: unknown
    OutputPlan plan;           // every stream's fate; an empty plan writes the video stream alone
    InstantCrop::CodedPicture coded; // of a picture copied, read from its header before the crop
    HdrMetadata hdr;           // where the source's picture carries it
};

// Where the encoder's input is sought to: the trim's start, less the seek lead; 0 untrimmed.
double inputSeek(const CropRequest &request);
// The picture's filter chain: deinterlaced when asked, cropped (moving with its keyframes, whose times count from
// the seek), scaled unless at 100 percent, its last picture held up to the end asked for.
QString pictureFilter(const CropRequest &request);

// "crop=w:h:x:y".
QString cropFilterText(const QRect &crop);

// The seconds the output is asked to last: the trim's, else the input's.
double askedLength(const CropRequest &request);

// The encoder's arguments for request, writing to outputPath: the input
// (seeking before it to the trim's start, by the seek lead earlier, so that
// the output starts at the trim's start, to the frame, and lasts its length),
// then the prepared subtitles; every stream the plan writes, in its order,
// with its language, title and dispositions; no metadata of the file but the
// recording date when given; the chapters when planned; every frame with its
// own time; the picture deinterlaced when asked, cropped, scaled unless at
// 100 percent (keeping the pixels' shape), its last picture held as a player
// holds it up to the end asked for (the trim's, else the video's), where the
// stream's last frames are empty, never past videoEnd; encoded as planned and tagged with
// the source's colour; the sound and subtitles as planned; progress on
// standard output; the output last, after "-y".
QStringList buildCropArguments(const CropRequest &request, const QString &outputPath);

// The encoder's arguments that write each text subtitle the plan writes, as
// the input times it, to folder/<its index>.srt (or .ass, for styled ones),
// reading only around the trim.
QStringList subtitleArguments(const CropRequest &request, const QString &folder);
// Where subtitleArguments() writes track's subtitle.
QString subtitleFile(const TrackPlan &track, const QString &folder);

// The time in the input where its readable part ends, when the output of
// request, outputDuration seconds long, is shorter than asked by more than a
// second (or 5 % of a clip under 20 s): the encoder stops quietly at damage.
// Nothing when the output is as long as asked.
std::optional<double> readableEnd(const CropRequest &request, double outputDuration);
