#include "OutputPlan.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QStringList textSubtitles { u"subrip"_s, u"srt"_s, u"ass"_s, u"ssa"_s, u"mov_text"_s, u"webvtt"_s, u"text"_s };
const QStringList pictureSubtitles { u"dvd_subtitle"_s, u"hdmv_pgs_subtitle"_s, u"dvb_subtitle"_s, u"xsub"_s };

// The names a listener reads on a player's menu.
QString codecName(const QString &codec)
{
    static const QHash<QString, QString> names {
        { u"aac"_s, u"AAC"_s },       { u"ac3"_s, u"AC-3"_s },         { u"eac3"_s, u"E-AC-3"_s },
        { u"mp3"_s, u"MP3"_s },       { u"mp2"_s, u"MP2"_s },          { u"opus"_s, u"Opus"_s },
        { u"flac"_s, u"FLAC"_s },     { u"alac"_s, u"ALAC"_s },        { u"vorbis"_s, u"Vorbis"_s },
        { u"dts"_s, u"DTS"_s },       { u"truehd"_s, u"TrueHD"_s },    { u"subrip"_s, u"SubRip"_s },
        { u"ass"_s, u"ASS"_s },       { u"ssa"_s, u"SSA"_s },          { u"mov_text"_s, u"MP4 text"_s },
        { u"webvtt"_s, u"WebVTT"_s }, { u"hdmv_pgs_subtitle"_s, u"PGS"_s }, { u"dvd_subtitle"_s, u"DVD"_s },
        { u"dvb_subtitle"_s, u"DVB"_s }, { u"h264"_s, u"H.264"_s },    { u"hevc"_s, u"HEVC"_s },
    };
    if (codec.startsWith(u"pcm_"))
        return u"PCM"_s;
    return names.value(codec, codec);
}

QString containerName(Container container)
{
    switch (container) {
    case Container::mp4:
        return u"MP4"_s;
    case Container::mov:
        return u"MOV"_s;
    case Container::mkv:
        return u"Matroska"_s;
    }
    return {};
}

// "Audio 2 (deu, AC-3 5.1)".
QString describe(const MediaStream &stream, int number)
{
    QString type;
    switch (stream.type) {
    case MediaStream::Type::video:
        type = OutputPlan::tr("Video %1");
        break;
    case MediaStream::Type::audio:
        type = OutputPlan::tr("Audio %1");
        break;
    case MediaStream::Type::subtitle:
        type = OutputPlan::tr("Subtitle %1");
        break;
    case MediaStream::Type::data:
        type = OutputPlan::tr("Data %1");
        break;
    case MediaStream::Type::attachment:
        type = OutputPlan::tr("Attachment %1");
        break;
    case MediaStream::Type::other:
        type = OutputPlan::tr("Track %1");
        break;
    }
    QStringList details;
    if (!stream.language.isEmpty() && stream.language != u"und")
        details << stream.language;
    QString codec = codecName(stream.codec);
    if (!stream.channelLayout.isEmpty())
        codec += u' ' + stream.channelLayout.section(u'(', 0, 0);
    if (!codec.isEmpty())
        details << codec;
    return type.arg(number) + (details.isEmpty() ? QString() : u" ("_s + details.join(u", "_s) + u')');
}

TrackPlan dropped(const MediaStream &stream, const QString &why)
{
    TrackPlan track;
    track.stream = stream;
    track.fate = TrackPlan::Fate::dropped;
    track.why = why;
    return track;
}

TrackPlan kept(const MediaStream &stream, TrackPlan::Fate fate, const QString &codec, const QString &why = {})
{
    TrackPlan track;
    track.stream = stream;
    track.fate = fate;
    track.codec = codec;
    track.why = why;
    return track;
}

TrackPlan audioPlan(const MediaStream &stream, Container container, OutputSettings::Audio audio)
{
    const bool stereo = audio == OutputSettings::Audio::stereo;
    const bool stereoAac = stream.codec == u"aac" && stream.channels <= 2;
    if (stereo ? stereoAac : OutputPlanner::holdsAudio(container, stream.codec))
        return kept(stream, TrackPlan::Fate::copied, u"copy"_s);
    TrackPlan track = kept(stream, TrackPlan::Fate::encoded, u"aac"_s);
    track.channels = stereo && stream.channels > 2 ? 2 : 0;
    track.bitRate = OutputPlanner::audioBitRate(track.channels ? track.channels : stream.channels);
    const QString layout = stream.channelLayout.section(u'(', 0, 0);
    if (track.channels)
        track.why = OutputPlan::tr("%1 mixed down to stereo AAC, as chosen")
                        .arg(layout.isEmpty() ? OutputPlan::tr("%n channels", nullptr, stream.channels) : layout);
    else if (stereo)
        track.why = OutputPlan::tr("encoded as AAC at %1 kb/s, as chosen").arg(track.bitRate);
    else
        track.why = OutputPlan::tr("encoded as AAC at %1 kb/s: %2 cannot hold %3")
                        .arg(track.bitRate)
                        .arg(containerName(container), codecName(stream.codec));
    return track;
}

TrackPlan subtitlePlan(const MediaStream &stream, Container container, bool wanted)
{
    if (!wanted)
        return dropped(stream, OutputPlan::tr("left out, as chosen"));
    if (OutputPlanner::isTextSubtitle(stream.codec)) {
        const bool styled = stream.codec == u"ass" || stream.codec == u"ssa";
        if (container != Container::mkv)
            return kept(stream, TrackPlan::Fate::converted, u"mov_text"_s,
                        stream.codec == u"mov_text" ? QString() : OutputPlan::tr("kept as MP4 text"));
        return kept(stream, TrackPlan::Fate::converted, u"copy"_s,
                    styled || stream.codec == u"subrip" ? QString() : OutputPlan::tr("kept as SubRip"));
    }
    if (OutputPlanner::isPictureSubtitle(stream.codec)) {
        if (container == Container::mkv)
            return kept(stream, TrackPlan::Fate::copied, u"copy"_s);
        return dropped(stream, OutputPlan::tr("%1 holds no subtitles made of pictures; save as .mkv to keep them")
                                   .arg(containerName(container)));
    }
    return dropped(stream, OutputPlan::tr("Tessaly cannot carry subtitles of this kind"));
}

} // namespace

namespace OutputPlanner {

bool isTextSubtitle(const QString &codec)
{
    return textSubtitles.contains(codec);
}

bool isPictureSubtitle(const QString &codec)
{
    return pictureSubtitles.contains(codec);
}

bool holdsAudio(Container container, const QString &codec)
{
    if (codec.isEmpty())
        return false;
    static const QStringList mp4 { u"aac"_s, u"mp3"_s, u"ac3"_s, u"eac3"_s, u"alac"_s, u"flac"_s, u"opus"_s };
    static const QStringList mov { u"aac"_s, u"mp3"_s, u"ac3"_s, u"eac3"_s, u"alac"_s };
    switch (container) {
    case Container::mp4:
        return mp4.contains(codec);
    case Container::mov:
        return mov.contains(codec) || codec.startsWith(u"pcm_");
    case Container::mkv:
        return true;
    }
    return false;
}

int audioBitRate(int channels)
{
    return channels <= 1 ? 96 : channels == 2 ? 160 : 64 * channels;
}

int crfFor(const QString &encoder, int quality)
{
    // The same marks look alike in both: HEVC reaches a picture at a CRF some two steps higher.
    static constexpr int h264[OutputSettings::qualityMarks] = { 28, 25, 22, 19, 16 };
    static constexpr int hevc[OutputSettings::qualityMarks] = { 30, 27, 24, 21, 18 };
    const int mark = std::clamp(quality, 0, OutputSettings::qualityMarks - 1);
    return encoder == u"libx265" ? hevc[mark] : h264[mark];
}

QString presetFor(const QString &encoder, OutputSettings::Speed speed)
{
    const bool hevc = encoder == u"libx265";
    switch (speed) {
    // Balanced is what bench_crop measures against HandBrake: as sharp and no larger, in half the time.
    case OutputSettings::Speed::fast:
        return u"veryfast"_s;
    case OutputSettings::Speed::balanced:
        return hevc ? u"fast"_s : u"faster"_s;
    case OutputSettings::Speed::smallest:
        return u"slow"_s;
    }
    return {};
}

OutputPlan plan(const QList<MediaStream> &streams, qint64 video, const PictureColour &colour, int chapterCount,
                Container container, const OutputSettings &settings, bool copyVideo)
{
    OutputPlan plan;
    plan.container = container;
    plan.colour = colour;
    plan.chapterCount = chapterCount;
    plan.chapters = settings.chapters && chapterCount > 0;
    // The picture keeps its depth where the codec asked for holds it: HEVC Main10 for a deep or HDR source.
    const bool deep = colour.bitDepth > 8 || colour.isHdr();
    const bool hevc = settings.videoCodec == OutputSettings::VideoCodec::hevc
        || (settings.videoCodec == OutputSettings::VideoCodec::automatic && deep);
    plan.videoEncoder = copyVideo ? u"copy"_s : hevc ? u"libx265"_s : u"libx264"_s;
    plan.pixelFormat = hevc && deep ? u"yuv420p10le"_s : u"yuv420p"_s;
    plan.crf = crfFor(plan.videoEncoder, settings.quality);
    plan.preset = presetFor(plan.videoEncoder, settings.speed);

    QList<TrackPlan> written, left;
    const auto place = [&](const TrackPlan &track) { (track.fate == TrackPlan::Fate::dropped ? left : written) << track; };
    for (const MediaStream &stream : streams) {
        if (stream.index == video && copyVideo) {
            written.prepend(kept(stream, TrackPlan::Fate::copied, u"copy"_s));
            continue;
        }
        if (stream.index == video) {
            QString why;
            if (deep && !hevc)
                why =OutputPlan::OutputPlan::tr("its %1-bit picture written in 8 bits, as H.264 is written here").arg(colour.bitDepth);
            written.prepend(kept(stream, TrackPlan::Fate::encoded, plan.videoEncoder, why));
            continue;
        }
        switch (stream.type) {
        case MediaStream::Type::audio:
            place(audioPlan(stream, container, settings.audio));
            break;
        case MediaStream::Type::subtitle:
            place(subtitlePlan(stream, container, settings.subtitles));
            break;
        case MediaStream::Type::video:
            place(stream.isAttachedPicture && container == Container::mkv
                      ? kept(stream, TrackPlan::Fate::copied, u"copy"_s)
                      : dropped(stream, stream.isAttachedPicture ?OutputPlan::OutputPlan::tr("%1 holds no cover pictures here").arg(containerName(container))
                                                                 :OutputPlan::OutputPlan::tr("Tessaly writes the one picture it crops")));
            break;
        case MediaStream::Type::attachment:
            place(container == Container::mkv ? kept(stream, TrackPlan::Fate::copied, u"copy"_s)
                                              : dropped(stream,OutputPlan::OutputPlan::tr("%1 holds no attached files").arg(containerName(container))));
            break;
        case MediaStream::Type::data:
        case MediaStream::Type::other:
            place(dropped(stream,OutputPlan::OutputPlan::tr("data such as timecodes and positions is left out")));
            break;
        }
    }
    // Subtitles and attachments follow the sound, as players list them.
    std::stable_sort(written.begin() + std::min<qsizetype>(1, written.size()), written.end(),
                     [](const TrackPlan &a, const TrackPlan &b) { return int(a.stream.type) < int(b.stream.type); });
    plan.tracks = written + left;
    return plan;
}

} // namespace OutputPlanner

bool OutputPlan::hasTextSubtitles() const
{
    return std::any_of(tracks.cbegin(), tracks.cend(), [this](const TrackPlan &track) {
        return isWritten(track) && track.stream.type == MediaStream::Type::subtitle
            && OutputPlanner::isTextSubtitle(track.stream.codec);
    });
}

QStringList OutputPlan::notes() const
{
    QStringList lines;
    QHash<int, int> numbers; // per type, for "Audio 2"
    QList<std::pair<qint64, int>> numbered;
    QList<MediaStream> inOrder;
    for (const TrackPlan &track : tracks)
        inOrder << track.stream;
    std::sort(inOrder.begin(), inOrder.end(), [](const MediaStream &a, const MediaStream &b) { return a.index < b.index; });
    for (const MediaStream &stream : inOrder)
        numbered << std::pair(stream.index, ++numbers[int(stream.type)]);
    const auto numberOf = [&](const MediaStream &stream) {
        for (const auto &[index, number] : numbered) {
            if (index == stream.index)
                return number;
        }
        return 0;
    };
    for (const TrackPlan &track : tracks) {
        const QString what = describe(track.stream, numberOf(track.stream));
        switch (track.fate) {
        case TrackPlan::Fate::encoded:
            if (track.stream.type == MediaStream::Type::video) {
                const QString codec = videoEncoder == u"libx265" ? u"HEVC"_s : u"H.264"_s;
                QString as = pixelFormat.contains(u"10") ? tr("%1 10-bit").arg(codec) : codec;
                if (colour.transfer == u"smpte2084")
                    as += tr(", HDR10");
                else if (colour.transfer == u"arib-std-b67")
                    as += tr(", HLG");
                lines << tr("Video: cropped, written as %1").arg(as);
                if (!track.why.isEmpty())
                    lines << tr("Video: %1").arg(track.why);
                if (colour.dolbyVision)
                    lines << tr("Video: its Dolby Vision layer is left out; the picture it rests on is kept");
            } else {
                lines << tr("%1: %2").arg(what, track.why);
            }
            break;
        case TrackPlan::Fate::copied:
            lines << (videoEncoder == u"copy" && &track == &tracks.first() ? tr("Video: cropped in its header, no picture re-encoded")
                                                                          : tr("%1: copied").arg(what));
            break;
        case TrackPlan::Fate::converted:
            lines << (track.why.isEmpty() ? tr("%1: kept").arg(what) : tr("%1: %2").arg(what, track.why));
            break;
        case TrackPlan::Fate::dropped:
            lines << tr("%1: dropped: %2").arg(what, track.why);
            break;
        }
    }
    if (chapterCount > 0)
        lines << (chapters ? tr("Chapters: kept") : tr("Chapters: left out, as chosen"));
    return lines;
}
