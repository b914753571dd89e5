#pragma once

#include "MediaStream.h"
#include "ProbeTool.h"
#include "util/PixelShape.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <optional>

// The media-information record of one file: file facts, the probe tool's
// verdict, the stream facts, the frame size after rotation, the container's
// duration and bit rate, the metadata table and one summary per track.
// Construction does all the work and never fails; the record never changes.
class FileProbe
{
    Q_DECLARE_TR_FUNCTIONS(FileProbe)

public:
    // Runs the bundled "sniffer" on path.
    explicit FileProbe(const QString &path);
    // Runs probeTool instead of the bundled one.
    FileProbe(const QString &path, const QString &probeTool);

    // The same record from what the tool printed: the file facts are read from
    // path, the rest is derived from report. Without a report (the tool could
    // not run) only the file facts are set.
    static FileProbe fromReport(const QString &path, const std::optional<QByteArray> &report);
    // The same from a run of the tool, which may also tell that the tool is
    // missing or broken, took too long, or refused the file's container.
    static FileProbe fromResult(const QString &path, const ProbeTool::Result &result);

    // The same record for the file after a move: its path and URL follow, the
    // rest (size included) is the file's as probed.
    FileProbe withPath(const QString &path) const;
    // The same record for a video whose length the file's last packets tell
    // better than its header.
    FileProbe withVideoDuration(double seconds) const;
    // The same record showing and cropping the next of its video streams that
    // may be, as where the one chosen has no picture to show; nothing when
    // none is left.
    std::optional<FileProbe> nextVideoStream() const;

    // Whether Tessaly can crop the file: a valid report without errors and
    // not encrypted, with a video track of a known, positive size.
    bool isCroppableVideo() const;

    // Why the probe tool told nothing of the file, and its own words for it.
    ProbeTool::Trouble toolTrouble() const { return m_toolTrouble; }
    QString toolTroubleDetail() const { return m_toolTroubleDetail; }
    bool hasErrors() const { return m_hasErrors; }
    bool isValidMediaFile() const { return m_isValidMediaFile; }
    bool isEncrypted() const { return m_isEncrypted; }
    qint64 numberOfStreams() const { return m_numberOfStreams; }
    bool hasVideoTrack() const { return m_hasVideoTrack; }
    bool hasAudioTrack() const { return m_hasAudioTrack; }
    bool hasSubtitleTrack() const { return m_hasSubtitleTrack; }
    bool hasAudioTrackWhichHasMoreThanTwoChannels() const { return m_hasAudioTrackWhichHasMoreThanTwoChannels; }
    // The first audio track of more than two channels as a listener names it ("5.1").
    QString multichannelLayout() const { return m_multichannelLayout; }
    // When the recording was made, as the file says ("2024-05-01T10:00:00.000000Z"); empty if it does not.
    QString creationTime() const { return m_creationTime; }
    double duration() const { return m_duration; }
    // The time of the file's first timestamp, in seconds; the times of its pictures count from it.
    double startTime() const { return m_startTime; }
    // The container as the probe tool names it ("matroska,webm", "mpegts", ...).
    QString formatName() const { return m_formatName; }
    qint64 bitRate() const { return m_bitRate; }
    std::optional<qint64> videoWidth() const { return m_videoWidth; }
    std::optional<qint64> videoHeight() const { return m_videoHeight; }
    std::optional<double> videoRatio() const { return m_videoRatio; }
    qint64 tagRotateValue() const { return m_tagRotateValue; }
    // The video stream that is shown and cropped (the one marked default, else
    // the first that is not a still picture): its index in the file, as the
    // tools' "-map 0:N" names it, and its codec.
    std::optional<qint64> videoStreamIndex() const { return m_videoStreamIndex; }
    QString videoCodec() const { return m_videoCodec; }
    // Its pictures per second (0 when unknown).
    double videoFrameRate() const { return m_videoFrameRate; }
    // How far it is turned clockwise for showing, in degrees (0, 90, 180, 270 ...).
    int rotation() const { return m_rotation; }
    // Whether its frames come at uneven times: the average rate is not the stream's base rate.
    bool isVariableFrameRate() const { return m_isVariableFrameRate; }
    // How its colours are coded, as the probe names them ("bt709", "smpte2084" ...); empty when unsaid.
    QString colourTransfer() const { return m_colourTransfer; }
    QString colourPrimaries() const { return m_colourPrimaries; }
    QString fieldOrder() const { return m_fieldOrder; }
    // Whether its pictures are made of two fields, as the probe reports the
    // field order ("tt", "bb", "tb", "bt"); "progressive" or unknown is not.
    bool isInterlaced() const;
    // Its pixels' shape, as the frame is shown (1:1 when square or unknown).
    PixelShape sampleAspect() const { return m_sampleAspect; }
    // How long the pictures last: the video stream's own duration when it is
    // known and shorter than the container's, which a subtitle or audio track
    // may outlast.
    double videoDuration() const;
    // Every stream of the file, in order, and the shown video's depth and colour.
    const QList<MediaStream> &streams() const { return m_streams; }
    const PictureColour &pictureColour() const { return m_pictureColour; }
    int chapterCount() const { return m_chapterCount; }
    const QList<QVariantMap> &tracksInfo() const { return m_tracksInfo; }
    const QList<QMap<QString, QString>> &metadata() const { return m_metadata; }
    std::optional<quint64> fileSize() const { return m_fileSize; }
    std::optional<QString> fileSizeHuman() const { return m_fileSizeHuman; }
    std::optional<QString> fileFullPath() const { return m_fileFullPath; }
    std::optional<QUrl> fileFullURL() const { return m_fileFullURL; }

private:
    FileProbe() = default;
    void readFileFacts(const QString &path);
    // Whether report was JSON at all; chosen: the position in "streams" of the video to show, else the preferred one.
    bool derive(const QByteArray &report, std::optional<qsizetype> chosen = std::nullopt);

    ProbeTool::Trouble m_toolTrouble = ProbeTool::Trouble::none;
    QString m_toolTroubleDetail;
    bool m_hasErrors = false;
    bool m_isValidMediaFile = false;
    bool m_isEncrypted = false;
    qint64 m_numberOfStreams = 0;
    bool m_hasVideoTrack = false;
    bool m_hasAudioTrack = false;
    bool m_hasSubtitleTrack = false;
    bool m_hasAudioTrackWhichHasMoreThanTwoChannels = false;
    QString m_multichannelLayout;
    QString m_creationTime;
    double m_duration = 0;
    double m_startTime = 0;
    QString m_formatName;
    qint64 m_bitRate = 0;
    std::optional<qint64> m_videoWidth;
    std::optional<qint64> m_videoHeight;
    std::optional<double> m_videoRatio;
    qint64 m_tagRotateValue = 0;
    std::optional<qint64> m_videoStreamIndex;
    QString m_videoCodec;
    PixelShape m_sampleAspect;
    double m_videoFrameRate = 0;
    QString m_fieldOrder;
    int m_rotation = 0;
    bool m_isVariableFrameRate = false;
    QString m_colourTransfer;
    QString m_colourPrimaries;
    double m_videoStreamDuration = 0;
    QList<MediaStream> m_streams;
    QList<qint64> m_videoStreamIndexes; // those that may be shown, the chosen one first
    QByteArray m_report; // what the tool printed, for another video stream
    PictureColour m_pictureColour;
    int m_chapterCount = 0;
    QList<QVariantMap> m_tracksInfo;
    QList<QMap<QString, QString>> m_metadata;
    std::optional<quint64> m_fileSize;
    std::optional<QString> m_fileSizeHuman;
    std::optional<QString> m_fileFullPath;
    std::optional<QUrl> m_fileFullURL;
};
