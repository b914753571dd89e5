#pragma once

#include "JSON.h"
#include "MediaStream.h"
#include "util/PixelShape.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace TrackSummary {

// A row for each tag the container has: the twelve known ones under their
// labels first (Title, Tagline, ...), then the others under their own names.
QList<QMap<QString, QString>> metadataTable(const JSON &report);

// The position in "streams" of the video to show and crop, whatever its codec:
// the video stream marked default, else the first one; never a still picture
// (an attached picture, or a stream of a single frame), nor
// anything in a report of a still picture.
std::optional<qsizetype> videoStream(const JSON &report);
// Every stream that may be shown and cropped, that one first, then the others in
// their order; a stream of a single picture only where no other moves.
QList<qsizetype> videoStreams(const JSON &report);

// Every stream as the output is planned from it, in report order.
QList<MediaStream> streams(const JSON &report);
// The depth and colour of stream's pictures.
PictureColour pictureColour(const JSON &stream);

// The HDR metadata of a report of the first picture ("-show_frames").
HdrMetadata hdrMetadata(const JSON &frameReport);

// One summary per stream, in report order.
QList<QVariantMap> trackList(const JSON &report, const QString &path);

// "HH:MM:SS.ff": whole seconds truncated, hundredths rounded, independently.
QString humanDuration(double seconds);

// Whether the stream is shown turned by a quarter: its "rotate" tag reads "90"
// or "270", or, without that tag, its first display matrix turns by ±90 or ±270.
bool isQuarterTurn(const JSON &stream);
// How far the picture is turned clockwise for showing, in degrees 0 ... 359:
// its "rotate" tag, else its first display matrix.
int rotation(const JSON &stream);
// A cover picture carried by a file, never the file's video.
bool isAttachedPicture(const JSON &stream);
// A report of a single still picture (a photo), which has no video track.
bool isStillPicture(const JSON &report);
// The stream's own duration in seconds: Matroska's DURATION tag, else its
// "duration"; 0 when neither is known.
double streamDuration(const JSON &stream);
// The shape of the stream's pixels as it is shown ("sample_aspect_ratio",
// turned with the frame); square when unknown.
PixelShape sampleAspect(const JSON &stream);

} // namespace TrackSummary
