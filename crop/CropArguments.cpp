#include "CropArguments.h"

#include "InstantCrop.h"
#include "media/InputFormats.h"
#include "util/Numbers.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString muxerOf(Container container)
{
    return container == Container::mkv ? u"matroska"_s : extensionOf(container);
}

// Tags the tools write only when they are known, never "unknown".
bool isSaid(const QString &value)
{
    return !value.isEmpty() && value != u"unknown" && value != u"unspecified";
}

// x265's own names for what the probe calls the colour.
QString x265Parameters(const OutputPlan &plan, const HdrMetadata &hdr)
{
    QStringList parameters { u"log-level=error"_s };
    if (plan.colour.transfer == u"smpte2084" && !hdr.masteringDisplay.isEmpty()) {
        parameters << u"hdr10=1"_s << u"master-display="_s + hdr.masteringDisplay;
        if (!hdr.contentLight.isEmpty())
            parameters << u"max-cll="_s + hdr.contentLight;
    }
    return parameters.join(u':');
}

} // namespace

namespace {

// The picture copied, only the cropping window of its header rewritten.
QStringList copiedPicture(const CropRequest &request)
{
    QStringList arguments { u"-c:v:0"_s, u"copy"_s };
    const QString codec = request.plan.copiedVideoCodec();
    if (InstantCrop::cropsInHeader(codec))
        arguments << u"-bsf:v:0"_s << InstantCrop::bitstreamFilter(codec, request.crop, request.coded);
    // Apple's players play HEVC in MP4 and MOV only under this tag.
    if (codec == u"hevc" && request.plan.container != Container::mkv)
        arguments << u"-tag:v:0"_s << u"hvc1"_s;
    return arguments;
}

// The picture deinterlaced, cropped, scaled, held to its end and encoded as planned, in the source's colour.
QStringList encodedPicture(const CropRequest &request)
{
    const OutputPlan &plan = request.plan;
    const QString encoder = plan.videoEncoder.isEmpty() ? u"libx264"_s : plan.videoEncoder;
    QStringList arguments { u"-c:v:0"_s, encoder, u"-preset:v:0"_s, plan.preset.isEmpty() ? u"veryfast"_s : plan.preset,
                            u"-crf:v:0"_s, QString::number(plan.crf), u"-pix_fmt:v:0"_s,
                            plan.pixelFormat.isEmpty() ? u"yuv420p"_s : plan.pixelFormat };
    const PictureColour &colour = plan.colour;
    for (const auto &[option, value] : { std::pair(u"-color_primaries:v:0"_s, colour.primaries),
                                         std::pair(u"-color_trc:v:0"_s, colour.transfer),
                                         std::pair(u"-colorspace:v:0"_s, colour.matrix),
                                         std::pair(u"-color_range:v:0"_s, colour.range) }) {
        if (isSaid(value))
            arguments << option << value;
    }
    if (encoder == u"libx265") {
        arguments << u"-x265-params:v:0"_s << x265Parameters(plan, request.hdr);
        // Apple's players play HEVC in MP4 and MOV only under this tag.
        if (plan.container != Container::mkv)
            arguments << u"-tag:v:0"_s << u"hvc1"_s;
    }
    // A moving crop's filter may be longer than a command line can hold.
    if (!request.filterScript.isEmpty())
        return arguments << u"-filter_script:v:0"_s << request.filterScript;
    return arguments << u"-filter:v:0"_s << pictureFilter(request);
}

} // namespace

double inputSeek(const CropRequest &request)
{
    // The seek lands on a keyframe; pictures shown before it but decoded after (an open GOP's) come
    // only from a decode that starts earlier, where the input's seeks land anywhere.
    const double lead = request.plan.copiedVideoCodec().isEmpty() ? request.seekLead : 0;
    return request.trim ? std::max(0.0, request.trim->start - lead) : 0;
}

QString pictureFilter(const CropRequest &request)
{
    const double seek = inputSeek(request);
    // Fields are woven into frames before a crop that may start on an odd line.
    // The filter's time counts from the seek.
    const QString crop = request.keyframes.size() > 1 ? CropKeyframes::filterText(request.keyframes, seek)
                                                      : cropFilterText(request.crop);
    QString filter = (request.deinterlace ? u"bwdif=mode=send_frame,"_s : QString()) + crop;
    if (request.scalePercent != 100) {
        // "64:45" would read as two options of setsar; a ratio is written "64/45".
        const PixelShape &aspect = request.sampleAspect;
        filter += u",scale=%1:%2,setsar=%3"_s.arg(request.scaledSize.width())
                      .arg(request.scaledSize.height())
                      .arg(aspect.isSquare() ? u"1:1"_s : u"%1/%2"_s.arg(aspect.num).arg(aspect.den));
    }
    // A camera's last pictures may be empty frames that hold the one before: the output holds it as long, up to
    // where the input's pictures end, never past it (a damaged end stays short, and said).
    const double held = request.videoEnd > 0
        ? (request.trim ? std::min(request.trim->end, request.videoEnd) : request.videoEnd) - seek
        : 0;
    if (held > 0)
        filter += u",tpad=stop_mode=clone:stop_duration=%1"_s.arg(decimalText(held));
    const double end = request.trim ? request.trim->end - seek : held;
    if (end > 0)
        filter += u",trim=end=%1"_s.arg(decimalText(end));
    return filter;
}

QString cropFilterText(const QRect &crop)
{
    return u"crop=%1:%2:%3:%4"_s.arg(crop.width()).arg(crop.height()).arg(crop.x()).arg(crop.y());
}

Trim fittedTrim(Trim wanted, double duration, double minimum, bool startEdited)
{
    minimum = std::min(minimum, duration);
    if (startEdited) {
        wanted.end = std::clamp(wanted.end, minimum, duration);
        wanted.start = std::clamp(wanted.start, 0.0, wanted.end - minimum);
    } else {
        wanted.start = std::clamp(wanted.start, 0.0, duration - minimum);
        wanted.end = std::clamp(wanted.end, wanted.start + minimum, duration);
    }
    return wanted;
}

double askedLength(const CropRequest &request)
{
    return request.trim ? request.trim->end - request.trim->start : request.inputDuration;
}

QStringList buildCropArguments(const CropRequest &request, const QString &outputPath)
{
    const OutputPlan &plan = request.plan;
    QStringList arguments;
    const double seek = inputSeek(request);
    if (request.trim)
        arguments << u"-ss"_s << decimalText(seek);
    arguments << InputFormats::inputOptions(request.inputFormat) << u"-i"_s << request.input;
    // Text subtitles come each in a file of its own, timed to the trim already.
    QList<const TrackPlan *> written;
    for (const TrackPlan &track : plan.tracks) {
        if (plan.isWritten(track))
            written << &track;
    }
    int inputs = 1;
    QHash<const TrackPlan *, int> inputOf;
    for (const TrackPlan *track : written) {
        if (track->file.isEmpty())
            continue;
        inputOf[track] = inputs++;
        arguments << InputFormats::inputOptions(track->file.endsWith(u".ass"_s) ? u"ass"_s : u"srt"_s) << u"-i"_s
                  << track->file;
    }
    if (request.trim && request.trim->start > seek)
        arguments << u"-ss"_s << decimalText(request.trim->start - seek);
    // The picture is cut to the trim by its filter, to the frame; the output's length, a little longer, cuts the
    // sound, and never a picture that ends where the trim does.
    // A picture copied is cut by the output's length alone, which ends where the trim does.
    if (request.trim)
        arguments << u"-t"_s
                  << decimalText(request.trim->end - request.trim->start
                                 + (plan.copiedVideoCodec().isEmpty() ? 0.01 : 0));

    // Left to itself, ffmpeg would pick the largest picture, such as a phone's still beside its clip.
    if (written.isEmpty())
        arguments << u"-map"_s << (request.videoStream ? u"0:"_s + QString::number(*request.videoStream) : u"0:v:0"_s);
    for (const TrackPlan *track : written)
        arguments << u"-map"_s << (inputOf.contains(track) ? u"%1:0"_s.arg(inputOf[track])
                                                           : u"0:"_s + QString::number(track->stream.index));
    // Galleries sort a clip by the day it was shot; the place it was shot stays out, with every other tag of the file.
    arguments << u"-map_metadata:g"_s << u"-1"_s;
    if (!request.creationTime.isEmpty())
        arguments << u"-metadata"_s << u"creation_time="_s + request.creationTime;
    arguments << u"-map_chapters"_s << (plan.chapters ? u"0"_s : u"-1"_s);
    const bool mp4Family = plan.container != Container::mkv;
    for (qsizetype n = 0; n < written.size(); ++n) {
        const MediaStream &stream = written[n]->stream;
        const QString at = QString::number(n);
        // Prepared subtitles come without their tags; the rest have them already, said again for every container.
        arguments << u"-metadata:s:"_s + at << u"language="_s + (stream.language.isEmpty() ? u"und"_s : stream.language);
        if (!stream.title.isEmpty()) {
            arguments << u"-metadata:s:"_s + at << u"title="_s + stream.title;
            // MP4 players name a track by its handler.
            if (mp4Family)
                arguments << u"-metadata:s:"_s + at << u"handler_name="_s + stream.title;
        }
        QStringList flags = stream.dispositions;
        flags.removeAll(u"attached_pic"_s);
        if (stream.isAttachedPicture)
            flags << u"attached_pic"_s;
        arguments << u"-disposition:"_s + at << (flags.isEmpty() ? u"0"_s : flags.join(u'+'));
    }
    // Sound copied from before the trim's start would start the output early.
    if (request.trim)
        arguments << u"-copypriorss"_s << u"0"_s;
    // A variable frame rate stays variable: no frame is repeated or dropped.
    arguments << u"-fps_mode"_s << u"passthrough"_s;

    arguments << (plan.copiedVideoCodec().isEmpty() ? encodedPicture(request) : copiedPicture(request));

    int audio = 0, subtitles = 0, pictures = 1;
    for (const TrackPlan *track : written) {
        switch (track->stream.type) {
        case MediaStream::Type::audio: {
            const QString k = QString::number(audio++);
            arguments << u"-c:a:"_s + k << track->codec;
            if (track->codec != u"copy")
                arguments << u"-b:a:"_s + k << QString::number(track->bitRate) + u'k';
            if (track->channels > 0)
                arguments << u"-ac:a:"_s + k << QString::number(track->channels);
            break;
        }
        case MediaStream::Type::subtitle:
            arguments << u"-c:s:"_s + QString::number(subtitles++) << track->codec;
            break;
        case MediaStream::Type::video:
            if (track != written.first())
                arguments << u"-c:v:"_s + QString::number(pictures++) << u"copy"_s;
            break;
        case MediaStream::Type::attachment:
        case MediaStream::Type::data:
        case MediaStream::Type::other:
            break;
        }
    }
    // A sparse track (subtitles) read beside a dense one must not fill the muxer's queue.
    arguments << u"-max_muxing_queue_size"_s << u"4096"_s;
    arguments << u"-progress"_s << u"pipe:1"_s << u"-nostats"_s << u"-f"_s << muxerOf(plan.container) << u"-y"_s
              << outputPath;
    return arguments;
}

QString subtitleFile(const TrackPlan &track, const QString &folder)
{
    const bool styled = track.stream.codec == u"ass" || track.stream.codec == u"ssa";
    return u"%1/%2.%3"_s.arg(folder).arg(track.stream.index).arg(styled ? u"ass"_s : u"srt"_s);
}

QStringList subtitleArguments(const CropRequest &request, const QString &folder)
{
    QStringList arguments { u"-v"_s, u"error"_s };
    // A line may start up to a minute before the trim and still be on screen.
    if (request.trim)
        arguments << u"-ss"_s << decimalText(std::max(0.0, request.trim->start - 60)) << u"-to"_s
                  << decimalText(request.trim->end + 1);
    // The input's own times, whatever the seek: the lines are moved afterwards.
    arguments << u"-copyts"_s << InputFormats::inputOptions(request.inputFormat) << u"-i"_s << request.input;
    for (const TrackPlan &track : request.plan.tracks) {
        if (!request.plan.isWritten(track) || track.stream.type != MediaStream::Type::subtitle
            || !OutputPlanner::isTextSubtitle(track.stream.codec))
            continue;
        const QString file = subtitleFile(track, folder);
        const QString format = file.endsWith(u".ass"_s) ? u"ass"_s : u"srt"_s;
        arguments << u"-map"_s << u"0:"_s + QString::number(track.stream.index) << u"-c:s"_s << format << u"-f"_s
                  << format << u"-y"_s << file;
    }
    return arguments;
}

std::optional<double> readableEnd(const CropRequest &request, double outputDuration)
{
    const double start = request.trim ? request.trim->start : 0;
    const double asked = askedLength(request);
    const double tolerance = std::max(0.1, std::min(1.0, 0.05 * asked));
    if (asked <= 0 || asked - outputDuration <= tolerance)
        return std::nullopt;
    return start + std::max(0.0, outputDuration);
}
