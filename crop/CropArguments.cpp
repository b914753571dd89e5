#include "CropArguments.h"

#include "media/InputFormats.h"
#include "util/Numbers.h"

#include <algorithm>

using namespace Qt::StringLiterals;

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

QStringList buildCropArguments(const CropRequest &request, const QString &outputPath)
{
    QStringList arguments;
    // The seek lands on a keyframe; pictures shown before it but decoded after (an open GOP's) come
    // only from a decode that starts earlier, where the input's seeks land anywhere.
    const double seek = request.trim ? std::max(0.0, request.trim->start - request.seekLead) : 0;
    if (request.trim)
        arguments << u"-ss"_s << decimalText(seek);
    arguments << InputFormats::inputOptions(request.inputFormat) << u"-i"_s << request.input;
    if (request.trim && request.trim->start > seek)
        arguments << u"-ss"_s << decimalText(request.trim->start - seek);
    if (request.trim)
        arguments << u"-t"_s << decimalText(request.trim->end - request.trim->start);
    // Left to itself, ffmpeg would pick the largest picture, such as a phone's still beside its clip.
    if (request.videoStream)
        arguments << u"-map"_s << u"0:"_s + QString::number(*request.videoStream) << u"-map"_s << u"0:a?"_s;
    arguments << u"-sn"_s << u"-dn"_s << u"-map_chapters"_s << u"-1"_s << u"-map_metadata"_s << u"-1"_s;
    // Galleries sort a clip by the day it was shot; the place it was shot stays out.
    if (!request.creationTime.isEmpty())
        arguments << u"-metadata"_s << u"creation_time="_s + request.creationTime;
    // A variable frame rate stays variable: no frame is repeated or dropped.
    arguments << u"-fps_mode"_s << u"passthrough"_s << u"-pix_fmt"_s << u"yuv420p"_s;
    if (request.downmixToStereo)
        arguments << u"-ac"_s << u"2"_s;

    // Fields are woven into frames before a crop that may start on an odd line.
    QString filter = (request.deinterlace ? u"bwdif=mode=send_frame,"_s : QString()) + cropFilterText(request.crop);
    if (request.scalePercent != 100) {
        // "64:45" would read as two options of setsar; a ratio is written "64/45".
        const PixelShape &aspect = request.sampleAspect;
        filter += u",scale=%1:%2,setsar=%3"_s.arg(request.scaledSize.width())
                      .arg(request.scaledSize.height())
                      .arg(aspect.isSquare() ? u"1:1"_s : u"%1/%2"_s.arg(aspect.num).arg(aspect.den));
    }
    arguments << u"-vf"_s << filter << u"-y"_s << outputPath;
    return arguments;
}

std::optional<double> readableEnd(const CropRequest &request, double outputDuration)
{
    const double start = request.trim ? request.trim->start : 0;
    const double asked = request.trim ? request.trim->end - request.trim->start : request.inputDuration;
    const double tolerance = std::max(0.1, std::min(1.0, 0.05 * asked));
    if (asked <= 0 || asked - outputDuration <= tolerance)
        return std::nullopt;
    return start + std::max(0.0, outputDuration);
}
