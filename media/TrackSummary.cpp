#include "TrackSummary.h"

#include "util/Numbers.h"
#include "util/TimeText.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace TrackSummary {

namespace {

// The labels and names Video Info shows.
QString tr(const char *text)
{
    return QCoreApplication::translate("TrackSummary", text);
}


QMap<QString, QString> row(const QString &key, const QString &value)
{
    return { { u"key"_s, key }, { u"value"_s, value } };
}

QString twoDigits(qint64 value)
{
    return value < 10 ? u'0' + QString::number(value) : QString::number(value);
}

} // namespace

bool isQuarterTurn(const JSON &stream)
{
    const JSON tag = stream[{ "tags", "rotate" }];
    if (tag.exists())
        return tag.isText(u"90") || tag.isText(u"270");

    const JSON sideData = stream["side_data_list"];
    for (qsizetype i = 0; i < sideData.elementCount(); ++i) {
        const JSON entry = sideData[i];
        if (!entry["side_data_type"].isText(u"Display Matrix"))
            continue;
        const double turn = std::fmod(std::abs(std::round(entry["rotation"].asDouble())), 360.0);
        return turn == 90.0 || turn == 270.0;
    }
    return false;
}

QList<MediaStream> streams(const JSON &report)
{
    static const QList<std::pair<QString, MediaStream::Type>> types {
        { u"video"_s, MediaStream::Type::video },       { u"audio"_s, MediaStream::Type::audio },
        { u"subtitle"_s, MediaStream::Type::subtitle }, { u"data"_s, MediaStream::Type::data },
        { u"attachment"_s, MediaStream::Type::attachment },
    };
    QList<MediaStream> list;
    const JSON all = report["streams"];
    for (qsizetype i = 0; i < all.elementCount(); ++i) {
        const JSON s = all[i];
        MediaStream stream;
        stream.index = s["index"].exists() ? s["index"].asInteger() : qint64(i);
        const QString type = s["codec_type"].asText();
        for (const auto &[name, kind] : types) {
            if (type == name)
                stream.type = kind;
        }
        stream.codec = s["codec_name"].asText();
        stream.channels = int(s["channels"].asInteger());
        stream.channelLayout = s["channel_layout"].asText();
        stream.language = s[{ "tags", "language" }].asText();
        stream.title = s[{ "tags", "title" }].asText();
        if (const auto dispositions = s["disposition"].asDictionary()) {
            for (auto it = dispositions->cbegin(); it != dispositions->cend(); ++it) {
                if (it.value().toInt() == 1)
                    stream.dispositions << it.key();
            }
        }
        stream.isAttachedPicture = isAttachedPicture(s);
        list << stream;
    }
    return list;
}

PictureColour pictureColour(const JSON &stream)
{
    PictureColour colour;
    colour.pixelFormat = stream["pix_fmt"].asText();
    // "yuv420p10le", "p010le", "yuv444p12le": the depth is the number before the byte order.
    static const QRegularExpression depth(u"(\\d{2})(?:le|be)$"_s);
    if (const QRegularExpressionMatch match = depth.match(colour.pixelFormat); match.hasMatch())
        colour.bitDepth = match.captured(1).toInt();
    colour.range = stream["color_range"].asText();
    colour.matrix = stream["color_space"].asText();
    colour.transfer = stream["color_transfer"].asText();
    colour.primaries = stream["color_primaries"].asText();
    const JSON sideData = stream["side_data_list"];
    for (qsizetype i = 0; i < sideData.elementCount(); ++i) {
        if (sideData[i]["side_data_type"].asText().startsWith(u"DOVI"))
            colour.dolbyVision = true;
    }
    return colour;
}

HdrMetadata hdrMetadata(const JSON &frameReport)
{
    HdrMetadata hdr;
    // "34000/50000": a share of 1 for a colour's place, of a candela per square metre for a brightness.
    const auto units = [](const JSON &fraction, double unit) {
        const QStringList parts = fraction.asText().split(u'/');
        const double value = parts.value(0).toDouble() / parts.value(1, u"1"_s).toDouble();
        return std::isfinite(value) ? QString::number(std::llround(value / unit)) : u"0"_s;
    };
    const JSON sideData = frameReport[{ "frames", 0, "side_data_list" }];
    for (qsizetype i = 0; i < sideData.elementCount(); ++i) {
        const JSON entry = sideData[i];
        const QString type = entry["side_data_type"].asText();
        if (type == u"Mastering display metadata" && entry["red_x"].exists()) {
            const auto xy = [&](const char *x, const char *y) {
                return units(entry[x], 0.00002) + u',' + units(entry[y], 0.00002);
            };
            hdr.masteringDisplay = u"G(%1)B(%2)R(%3)WP(%4)L(%5,%6)"_s.arg(
                xy("green_x", "green_y"), xy("blue_x", "blue_y"), xy("red_x", "red_y"), xy("white_point_x", "white_point_y"),
                units(entry["max_luminance"], 0.0001), units(entry["min_luminance"], 0.0001));
        } else if (type == u"Content light level metadata") {
            hdr.contentLight = u"%1,%2"_s.arg(entry["max_content"].asInteger()).arg(entry["max_average"].asInteger());
        } else if (type.contains(u"HDR10+"_s) || type.contains(u"2094-40"_s)) {
            hdr.dynamic = true;
        }
    }
    return hdr;
}

bool isAttachedPicture(const JSON &stream)
{
    return stream[{ "disposition", "attached_pic" }].asInteger() == 1;
}

bool isStillPicture(const JSON &report)
{
    const QString format = report[{ "format", "format_name" }].asText();
    return format == u"image2" || format.endsWith(u"_pipe");
}

double streamDuration(const JSON &stream)
{
    // "00:00:00.080000000"; ffprobe gives Matroska streams the container's "duration".
    if (const auto tagged = TimeText::parse(stream[{ "tags", "DURATION" }].asText()); tagged && *tagged > 0)
        return *tagged;
    const double seconds = stream["duration"].asDouble();
    return std::isfinite(seconds) && seconds > 0 ? seconds : 0;
}

PixelShape sampleAspect(const JSON &stream)
{
    const QStringList parts = stream["sample_aspect_ratio"].asText().split(u':');
    bool ok[2] = {};
    const qint64 num = parts.value(0).toLongLong(&ok[0]), den = parts.value(1).toLongLong(&ok[1]);
    if (parts.size() != 2 || !ok[0] || !ok[1] || num <= 0 || den <= 0)
        return {};
    return isQuarterTurn(stream) ? PixelShape { den, num } : PixelShape { num, den };
}

QList<QMap<QString, QString>> metadataTable(const JSON &report)
{
    const JSON tags = report[{ "format", "tags" }];
    const std::pair<const char *, const char *> known[] = {
        { "title", QT_TR_NOOP("Title") },         { "description", QT_TR_NOOP("Tagline") },
        { "synopsis", QT_TR_NOOP("Synopsis") },   { "date", QT_TR_NOOP("Release Date") },
        { "genre", QT_TR_NOOP("Genre") },         { "hd_video", QT_TR_NOOP("HD") },
        { "media_type", QT_TR_NOOP("Media Kind") }, { "composer", QT_TR_NOOP("Composer") },
        { "iTunEXTC", QT_TR_NOOP("Rating") },     { "encoder", QT_TR_NOOP("Encoder") },
        { "copyright", QT_TR_NOOP("Copyright") }, { "comment", QT_TR_NOOP("Comment") },
    };
    QList<QMap<QString, QString>> rows;
    QStringList shown;
    for (const auto &[key, label] : known) {
        const JSON tag = tags[key];
        if (!tag.exists())
            continue;
        QString value = tag.asText();
        if (qstrcmp(key, "hd_video") == 0)
            value = tag.asInteger() == 1 ? tr("Yes") : tr("No");
        else if (qstrcmp(key, "media_type") == 0)
            value = tag.asInteger() == 9 ? tr("Movie") : value;
        rows << row(tr(label), value);
        shown << QString::fromLatin1(key);
    }
    const auto all = tags.asDictionary();
    if (all) {
        for (auto it = all->cbegin(); it != all->cend(); ++it) {
            if (!shown.contains(it.key()))
                rows << row(it.key(), tags[it.key()].asText());
        }
    }
    return rows;
}

int rotation(const JSON &stream)
{
    const auto turned = [](double degrees) { return int(std::fmod(std::fmod(std::round(degrees), 360.0) + 360.0, 360.0)); };
    const JSON tag = stream[{ "tags", "rotate" }];
    if (tag.exists())
        return turned(tag.asDouble());
    const JSON sideData = stream["side_data_list"];
    for (qsizetype i = 0; i < sideData.elementCount(); ++i) {
        // The matrix turns counter-clockwise.
        if (sideData[i]["side_data_type"].isText(u"Display Matrix"))
            return turned(-sideData[i]["rotation"].asDouble());
    }
    return 0;
}

namespace {

enum class Kind { Video, Audio, Subtitle, Poster, Other };

// A picture among the streams: a cover, or a stream that holds a single frame,
// as a phone's motion photo carries its still beside its clip. No frame rate
// ("0/0") alone makes no picture: old FLV files report it for their video.
bool isPicture(const JSON &s)
{
    return isAttachedPicture(s) || s["nb_frames"].asInteger() == 1;
}

Kind classify(const JSON &s)
{
    const bool video = s["codec_type"].isText(u"video");
    if (video && s["codec_name"].isText(u"mjpeg") && s["codec_tag_string"].isText(u"jpeg"))
        return Kind::Other;
    if (video && !isPicture(s))
        return Kind::Video;
    if (s["codec_type"].isText(u"audio"))
        return Kind::Audio;
    if (s["codec_type"].isText(u"subtitle") && !s["codec_tag_string"].isText(u"text") && !s["codec_name"].isNull())
        return Kind::Subtitle;
    if (video && s["codec_tag_string"].isText(u"[0][0][0][0]")
        && (s["codec_name"].isText(u"mjpeg") || s["codec_name"].isText(u"png")))
        return Kind::Poster;
    return Kind::Other;
}

QString typeName(Kind kind)
{
    switch (kind) {
    case Kind::Video:
        return tr("Video");
    case Kind::Audio:
        return tr("Audio");
    case Kind::Subtitle:
        return tr("Subtitle");
    case Kind::Poster:
        return tr("Poster");
    case Kind::Other:
        break;
    }
    return tr("Other");
}

} // namespace

QList<qsizetype> videoStreams(const JSON &report)
{
    if (isStillPicture(report))
        return {};
    const JSON streams = report["streams"];
    QList<qsizetype> moving, single;
    for (qsizetype i = 0; i < streams.elementCount(); ++i) {
        const JSON s = streams[i];
        if (!s["codec_type"].isText(u"video") || isAttachedPicture(s))
            continue;
        // A picture codec's single frame is a still (a cover, a photo); a video codec's is a video of one picture.
        static const QStringList stills { u"png"_s, u"mjpeg"_s, u"bmp"_s, u"gif"_s, u"webp"_s, u"tiff"_s, u"jpeg2000"_s };
        if (isPicture(s) && stills.contains(s["codec_name"].asText()))
            continue;
        QList<qsizetype> &kind = isPicture(s) ? single : moving;
        if (s[{ "disposition", "default" }].asInteger() == 1)
            kind.prepend(i);
        else
            kind.append(i);
    }
    // A video of a single picture (a one-frame DV or Theora clip) is a video all the same, where it is the only one.
    return moving.isEmpty() ? single : moving;
}

std::optional<qsizetype> videoStream(const JSON &report)
{
    const QList<qsizetype> streams = videoStreams(report);
    return streams.isEmpty() ? std::nullopt : std::optional(streams.first());
}

QList<QVariantMap> trackList(const JSON &report, const QString &path)
{
    const JSON streams = report["streams"];
    QList<QVariantMap> tracks;
    tracks.reserve(streams.elementCount());
    for (qsizetype i = 0; i < streams.elementCount(); ++i) {
        const JSON s = streams[i];
        const double seconds = s["duration"].asDouble();

        const Kind kind = classify(s);

        QString detail;
        switch (kind) {
        case Kind::Video: {
            // As it is shown, turned.
            auto size = std::pair(s["width"].asInteger(), s["height"].asInteger());
            if (isQuarterTurn(s))
                std::swap(size.first, size.second);
            detail = QString::number(size.first) + u'x' + QString::number(size.second);
            break;
        }
        case Kind::Audio:
            detail = s["channel_layout"].asText();
            break;
        case Kind::Subtitle:
            detail = s[{ "tags", "language" }].asText();
            break;
        case Kind::Poster:
            detail = s["width"].asText() + u'x' + s["height"].asText();
            break;
        case Kind::Other:
            detail = s["codec_tag_string"].asText();
            break;
        }

        const auto object = s.asDictionary();
        tracks.append({
            { u"trackType"_s, typeName(kind) },
            { u"trackCodec"_s, s["codec_name"].asText() },
            { u"trackID"_s, s["index"].asText() },
            { u"trackPresentInfile"_s, path },
            { u"trackSpecialInfo"_s, detail },
            { u"trackDuration"_s, seconds },
            { u"trackDurationHuman"_s, humanDuration(seconds) },
            { u"trackLanguage"_s, s[{ "tags", "language" }].asText() },
            { u"trackDictionary"_s, object ? QVariant(*object) : QVariant() },
        });
    }
    return tracks;
}

QString humanDuration(double seconds)
{
    if (!std::isfinite(seconds))
        seconds = 0;
    const qint64 t = saturatingTruncate(seconds);
    const QString twoDecimals = QString::asprintf("%.2f", seconds);
    const QString fraction = twoDecimals.mid(twoDecimals.lastIndexOf(u'.') + 1);

    const qint64 h = t / 3600;
    const qint64 m = (t / 60) % 60;
    const qint64 s = t % 60;
    const QString hours = t < 36000 ? u'0' + QString::number(h) : QString::number(h);
    return hours + u':' + twoDigits(m) + u':' + twoDigits(s) + u'.' + fraction;
}

} // namespace TrackSummary
