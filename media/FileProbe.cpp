#include "FileProbe.h"

#include "JSON.h"
#include "ProbeTool.h"
#include "TrackSummary.h"
#include "util/Diagnostics.h"
#include "util/Resources.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <utility>
#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace {

// The file's size, or nothing after writing why it could not be read.
std::optional<quint64> readFileSize(const QString &path)
{
    std::error_code error;
    const std::filesystem::path fsPath = QFileInfo(path).filesystemFilePath();
    const auto status = std::filesystem::status(fsPath, error);
    if (error) {
        writeDiagnostic(u"Failed to get file attributes for local path: "_s + path
                   + u" with error: "_s + QString::fromStdString(error.message()));
        return std::nullopt;
    }
    const auto size = std::filesystem::is_regular_file(status) ? std::filesystem::file_size(fsPath, error)
                                                               : std::uintmax_t(0);
    if (!std::filesystem::is_regular_file(status) || error) {
        writeDiagnostic(u"Failed to get a size attribute from path: "_s + path);
        return std::nullopt;
    }
    return quint64(size);
}

// The part after the last "." of the last component, if there is one.
std::optional<QString> pathExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1)
        return std::nullopt;
    return name.mid(dot + 1);
}

} // namespace

FileProbe::FileProbe(const QString &path)
    : FileProbe(path, Resources::pathForResource(u"sniffer"_s).value_or(QString()))
{
}

FileProbe::FileProbe(const QString &path, const QString &probeTool)
{
    *this = fromResult(path, ProbeTool(probeTool).run(path));
}

FileProbe FileProbe::fromReport(const QString &path, const std::optional<QByteArray> &report)
{
    FileProbe probe;
    probe.readFileFacts(path);
    if (report)
        probe.derive(*report);
    return probe;
}

FileProbe FileProbe::fromResult(const QString &path, const ProbeTool::Result &result)
{
    FileProbe probe;
    probe.readFileFacts(path);
    probe.m_toolTrouble = result.trouble;
    probe.m_toolTroubleDetail = result.detail;
    if (result.report && !probe.derive(*result.report)) {
        probe.m_toolTrouble = ProbeTool::Trouble::broken;
        probe.m_toolTroubleDetail = tr("its report is not JSON");
    } else if (result.report && result.exitCode != 0 && !probe.m_hasErrors && result.refusedFormat.isEmpty()) {
        // A file it cannot read ends it with a report of the error; anything else is the tool's own failure.
        probe.m_toolTrouble = ProbeTool::Trouble::broken;
        probe.m_toolTroubleDetail = tr("it ended with exit status %1").arg(result.exitCode);
    }
    if (!result.refusedFormat.isEmpty()) {
        probe.m_hasErrors = true;
        probe.m_formatName = result.refusedFormat;
    }
    return probe;
}

std::optional<FileProbe> FileProbe::nextVideoStream() const
{
    const QList<qint64> left = m_videoStreamIndexes.mid(1);
    const auto position = std::find_if(m_streams.cbegin(), m_streams.cend(), [&](const MediaStream &stream) {
        return !left.isEmpty() && stream.index == left.first();
    });
    if (position == m_streams.cend())
        return std::nullopt;
    FileProbe next;
    next.readFileFacts(m_fileFullPath.value_or(QString()));
    next.derive(m_report, position - m_streams.cbegin());
    // The streams tried before are not tried again.
    next.m_videoStreamIndexes = left;
    return next;
}

FileProbe FileProbe::withPath(const QString &path) const
{
    FileProbe moved = *this;
    moved.m_fileFullPath = path;
    moved.m_fileFullURL = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    return moved;
}

FileProbe FileProbe::withVideoDuration(double seconds) const
{
    FileProbe measured = *this;
    measured.m_videoStreamDuration = seconds;
    // A header that says less than the pictures last says less than the file lasts.
    measured.m_duration = std::max(measured.m_duration, seconds);
    return measured;
}

double FileProbe::videoDuration() const
{
    const bool shorter = m_videoStreamDuration > 0 && (m_duration <= 0 || m_videoStreamDuration < m_duration);
    return shorter ? m_videoStreamDuration : m_duration;
}

bool FileProbe::isInterlaced() const
{
    return m_fieldOrder == u"tt" || m_fieldOrder == u"bb" || m_fieldOrder == u"tb" || m_fieldOrder == u"bt";
}

bool FileProbe::isCroppableVideo() const
{
    return m_isValidMediaFile && !m_hasErrors && !m_isEncrypted && m_hasVideoTrack && m_videoWidth.value_or(0) > 0
        && m_videoHeight.value_or(0) > 0;
}

void FileProbe::readFileFacts(const QString &path)
{
    // Size and size text are two reads, each saying for itself why it failed.
    m_fileSize = readFileSize(path).value_or(0);
    const auto size = readFileSize(path);
    m_fileSizeHuman = size ? QLocale::c().formattedDataSize(qint64(*size), 1, QLocale::DataSizeSIFormat)
                           : u"Unknown File Size"_s;
    m_fileFullPath = path;
    m_fileFullURL = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

bool FileProbe::derive(const QByteArray &report, std::optional<qsizetype> chosenStream)
{
    m_report = report;
    QString parseError;
    const auto parsed = JSON::fromData(report, &parseError);
    if (!parsed) {
        writeDiagnostic(parseError);
        return false;
    }
    const JSON &r = *parsed;
    if (r["error"].exists()) {
        m_hasErrors = true;
        return true;
    }

    const JSON streams = r["streams"];
    const qsizetype n = streams.type() == JSON::Type::Array ? streams.elementCount() : 0;
    if (n <= 0)
        return true;
    m_numberOfStreams = n;
    const auto extension = pathExtension(m_fileFullPath.value_or(QString()));
    if (extension && extension->toLower() == u"txt")
        return true;
    m_isValidMediaFile = true;

    for (qsizetype i = 0; i < n; ++i) {
        const JSON s = streams[i];
        if (s["codec_type"].isText(u"video") && s["codec_name"].isNull()) {
            m_isEncrypted = true;
            break;
        }
    }

    const QList<qsizetype> videos = TrackSummary::videoStreams(r);
    for (const qsizetype position : videos)
        m_videoStreamIndexes << (streams[position]["index"].exists() ? streams[position]["index"].asInteger() : position);
    if (const auto chosen = chosenStream ? chosenStream : TrackSummary::videoStream(r)) {
        const JSON s = streams[*chosen];
        m_hasVideoTrack = true;
        m_videoWidth = s["width"].asOptionalInteger();
        m_videoHeight = s["height"].asOptionalInteger();
        m_tagRotateValue = s[{ "tags", "rotate" }].asInteger();
        if (TrackSummary::isQuarterTurn(s))
            std::swap(m_videoWidth, m_videoHeight);
        if (m_videoWidth && m_videoHeight)
            m_videoRatio = double(*m_videoWidth) / double(*m_videoHeight);
        m_videoStreamIndex = s["index"].exists() ? s["index"].asInteger() : qint64(*chosen);
        m_videoCodec = s["codec_name"].asText();
        m_videoStreamDuration = TrackSummary::streamDuration(s);
        m_sampleAspect = TrackSummary::sampleAspect(s);
        m_fieldOrder = s["field_order"].asText();
        m_rotation = TrackSummary::rotation(s);
        m_colourTransfer = s["color_transfer"].asText();
        m_pictureColour = TrackSummary::pictureColour(s);
        m_colourPrimaries = s["color_primaries"].asText();
        const auto rateOf = [&s](const char *key) {
            const QStringList rate = s[key].asText().split(u'/');
            const double perSecond = rate.value(0).toDouble() / rate.value(1).toDouble();
            return std::isfinite(perSecond) && perSecond > 0 ? perSecond : 0.0;
        };
        m_videoFrameRate = rateOf("avg_frame_rate");
        const double baseRate = rateOf("r_frame_rate");
        m_isVariableFrameRate = m_videoFrameRate > 0 && baseRate > 0
            && std::abs(baseRate - m_videoFrameRate) > 0.01 * baseRate;
    }

    for (qsizetype i = 0; i < n; ++i) {
        if (streams[i]["codec_type"].isText(u"audio")) {
            m_hasAudioTrack = true;
            break;
        }
    }

    for (qsizetype i = 0; i < n; ++i) {
        const JSON channels = streams[i]["channels"];
        if (!channels.isNull() && channels.asInteger() > 2) {
            m_hasAudioTrackWhichHasMoreThanTwoChannels = true;
            // "5.1(side)" is 5.1 to a listener.
            const QString layout = streams[i]["channel_layout"].asText().section(u'(', 0, 0);
            m_multichannelLayout = layout.isEmpty() ? QString::number(channels.asInteger()) + u" channels"_s : layout;
            break;
        }
    }

    for (qsizetype i = 0; i < n; ++i) {
        const JSON s = streams[i];
        if (s["codec_type"].isText(u"subtitle") && !s["codec_tag_string"].isText(u"text") && !s["codec_name"].isNull()) {
            m_hasSubtitleTrack = true;
            break;
        }
    }

    m_duration = r[{ "format", "duration" }].asDouble();
    m_startTime = r[{ "format", "start_time" }].asDouble();
    m_formatName = r[{ "format", "format_name" }].asText();
    m_bitRate = r[{ "format", "bit_rate" }].asInteger();

    m_metadata = TrackSummary::metadataTable(r);
    m_creationTime = r[{ "format", "tags", "creation_time" }].asText();

    m_streams = TrackSummary::streams(r);
    m_chapterCount = int(r["chapters"].elementCount());
    m_tracksInfo = TrackSummary::trackList(r, *m_fileFullPath);
    return true;
}
