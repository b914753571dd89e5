#pragma once

#include "media/MediaStream.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// A crop that re-encodes no picture: H.264 and HEVC carry a cropping window
// in their stream headers, which a bitstream filter rewrites while every
// picture is copied. Decoders built on ffmpeg keep each picture's memory
// aligned, so the window's left edge must fall where that alignment holds
// (measured: any multiple of 64 pixels for 8-bit 4:2:0; an odd multiple of 64,
// or 0, for 10-bit and 4:2:2, where some even multiples meet the top edge's
// offset at a wrong alignment), and every edge where the chroma has a sample.
namespace InstantCrop {

// Whether codec's headers carry a cropping window this way.
bool cropsInHeader(const QString &codec);

// The crop nearest to wanted that every decoder shows exactly, in a frame of
// that size: edges on the chroma's samples, the left edge where alignment
// holds, the size kept where it fits.
QRect snapped(const QRect &wanted, QSize frame, const PictureColour &colour);

// A picture as its stream's header codes it, and the part of it shown.
struct CodedPicture
{
    QSize size;  // 1920 x 1088
    QRect shown; // 1920 x 1080 at 0, 0
};

// The picture of the first parameter set in the lines ffmpeg's trace_headers
// filter logs, as traceArguments() has it run; nothing where none is found.
std::optional<CodedPicture> codedPicture(const QStringList &trace);
// The encoder's arguments that trace the headers of path's stream.
QStringList traceArguments(const QString &path, qint64 stream, const QString &format);

// The bitstream filter that sets crop's window, in the shown picture, in a
// stream of codec coded as picture: a window the stream carries already
// (1080 of 1088 lines) is added to.
QString bitstreamFilter(const QString &codec, const QRect &crop, const CodedPicture &picture);

// The probe tool's arguments that list the keyframes of stream from from to time (from the file's start), for
// PosterPlan::keyframes().
QStringList keyframeListing(const QString &path, qint64 stream, const QString &format, double startTime, double from,
                            double time);
// The keyframe at or before time among keyframes (sorted); time itself when none is.
double keyframeAtOrBefore(const QList<double> &keyframes, double time);

} // namespace InstantCrop
