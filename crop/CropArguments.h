#pragma once

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
    QString inputFormat;               // the input's container, as the probe names it
    std::optional<qint64> videoStream; // the input's video stream to crop; all its audio goes along
    QString destination;
    QString replaces;          // the identity of the file at destination the user agreed to replace; empty: none
    QRect crop;                // in stored video pixels, top-left origin
    int scalePercent = 100;    // 100: unscaled
    QSize scaledSize;          // the output size in stored pixels when scaled
    PixelShape sampleAspect; // the input's pixel shape, which the output keeps
    bool downmixToStereo = false;
    bool deinterlace = false;  // the input's pictures are fields: made progressive first
    QString creationTime;      // the input's recording date, kept; empty: none
    double inputDuration = 0;  // seconds, for the progress
    std::optional<Trim> trim;  // nothing: the whole video
    double seekLead = 0;       // seconds decoded before the trim's start, which the output drops
};

// "crop=w:h:x:y".
QString cropFilterText(const QRect &crop);

// The encoder's arguments for request, writing to outputPath: the chosen video
// stream with the audio, trimmed when asked (seeking before the input, by the
// seek lead earlier, so that the output starts at the trim's start, to the
// frame, and lasts its length);
// no subtitles, data, chapters or metadata but the recording date when given;
// every frame with its own time; 4:2:0 pixels; audio down-mixed to stereo when
// asked; deinterlacing (a frame per frame) when asked, the crop filter,
// followed by a scale (keeping the pixels' shape) unless the scale is 100
// percent; the output last, after "-y".
QStringList buildCropArguments(const CropRequest &request, const QString &outputPath);

// The time in the input where its readable part ends, when the output of
// request, outputDuration seconds long, is shorter than asked by more than a
// second (or 5 % of a clip under 20 s): the encoder stops quietly at damage.
// Nothing when the output is as long as asked.
std::optional<double> readableEnd(const CropRequest &request, double outputDuration);
