#include "CropJob.h"

#include "OutputFile.h"
#include "SubtitleCues.h"
#include "media/FileProbe.h"
#include "media/InputFormats.h"
#include "media/JSON.h"
#include "media/TrackSummary.h"
#include "util/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// Reading the first picture's HDR metadata, and the subtitles, may take this long at most.
constexpr int hdrTimeoutMs = 60'000;
constexpr int subtitlesTimeoutMs = 600'000;

} // namespace

CropJob::CropJob(const QString &encoderPath, const QString &probeToolPath, QObject *parent)
    : QObject(parent)
    , m_encoderPath(encoderPath)
    , m_probeToolPath(probeToolPath)
    , m_probe(probeToolPath)
{
    m_stall.setSingleShot(true);
    m_stall.setInterval(stallMs);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        m_isStalled = true;
        Q_EMIT stalled(true);
    });
    connect(&m_run, &ToolRun::errorLine, this, [this](const QString &line) {
        if (m_state == State::ReadingHeader)
            m_trace << line;
        else
            m_output.keepMessage(line);
    });
    connect(&m_run, &ToolRun::outputReady, this, &CropJob::readProgress);
    connect(&m_run, &ToolRun::ended, this, &CropJob::toolEnded);
    connect(&m_probe, &ProbeJob::finished, this, &CropJob::cropFinished);
}

CropJob::~CropJob()
{
    m_run.abandon();
    m_probe.cancel();
    discardTemporary();
}

bool CropJob::runCropProcess(const CropRequest &request)
{
    if (isRunning())
        return false;
    m_isProcessCancelledByUser = false;
    m_output = EncoderOutput();
    m_request = request;

    if (m_encoderPath.isEmpty() || !QFileInfo(m_encoderPath).isExecutable()) {
        Q_EMIT failed(tr("The encoder (ffmpeg) is missing from Tessaly's resources."));
        return false;
    }
    if (const auto refusal = OutputFile::refusal(request.destination)) {
        Q_EMIT failed(*refusal + tr(" Please choose another name or folder."));
        return false;
    }
    m_destination = OutputFile::resolved(request.destination);
    QString error;
    const auto temporary = OutputFile::createTemporaryBeside(m_destination, &error);
    if (!temporary) {
        Q_EMIT failed(tr("Cannot write in the folder %1: %2").arg(QFileInfo(m_destination).absolutePath(), error));
        return false;
    }
    m_temporaryPath = *temporary;
    m_record = OutputFile::record(m_recordsFolder, m_temporaryPath);
    m_state = State::ReadingHeader;
    prepareNext();
    // Without free file descriptors or processes the start fails at once.
    return isRunning();
}

void CropJob::prepareNext()
{
    const OutputPlan &plan = m_request.plan;
    if (m_state == State::ReadingHeader) {
        if (InstantCrop::cropsInHeader(plan.copiedVideoCodec())) {
            m_trace.clear();
            m_run.start(m_encoderPath,
                        InstantCrop::traceArguments(m_request.input, plan.tracks.first().stream.index,
                                                    m_request.inputFormat),
                        hdrTimeoutMs);
            return;
        }
        m_state = State::ReadingHdr;
    }
    // x265 writes HDR10's mastering display and light level only when told them.
    if (m_state == State::ReadingHdr) {
        const bool pq = plan.videoEncoder == u"libx265" && plan.colour.transfer == u"smpte2084";
        if (pq && m_request.hdr.masteringDisplay.isEmpty() && m_request.videoStream && !m_probeToolPath.isEmpty()) {
            m_run.start(m_probeToolPath,
                        InputFormats::inputOptions(m_request.inputFormat)
                            + QStringList { u"-v"_s, u"error"_s, u"-select_streams"_s,
                                            QString::number(*m_request.videoStream), u"-read_intervals"_s, u"%+#1"_s,
                                            u"-show_frames"_s, u"-of"_s, u"json"_s, m_request.input },
                        hdrTimeoutMs);
            return;
        }
        m_state = State::ReadingSubtitles;
    }
    if (m_state == State::ReadingSubtitles && plan.hasTextSubtitles()) {
        if (prepared()) {
            m_run.start(m_encoderPath, subtitleArguments(m_request, m_prepared->path()), subtitlesTimeoutMs);
            return;
        }
    }
    startEncoder();
}

void CropJob::headerRead()
{
    const auto coded = InstantCrop::codedPicture(m_trace);
    m_trace.clear();
    if (!coded) {
        fail(tr("The video stream's header could not be read, so its picture cannot be cropped without "
                "re-encoding."));
        return;
    }
    m_request.coded = *coded;
    m_state = State::ReadingHdr;
    prepareNext();
}

void CropJob::hdrRead(const QByteArray &report)
{
    if (const auto parsed = JSON::fromData(report))
        m_request.hdr = TrackSummary::hdrMetadata(*parsed);
    m_state = State::ReadingSubtitles;
    prepareNext();
}

void CropJob::subtitlesRead()
{
    const double offset = m_request.startTime + (m_request.trim ? m_request.trim->start : 0);
    const double length = m_request.trim ? m_request.trim->end - m_request.trim->start : 0;
    for (TrackPlan &track : m_request.plan.tracks) {
        if (!m_request.plan.isWritten(track) || track.stream.type != MediaStream::Type::subtitle
            || !OutputPlanner::isTextSubtitle(track.stream.codec))
            continue;
        const QString file = subtitleFile(track, m_prepared->path());
        QFile text(file);
        int kept = 0;
        const QByteArray retimed = text.open(QIODevice::ReadOnly)
            ? SubtitleCues::retimed(text.readAll(), file.endsWith(u".ass"_s), offset, length, &kept)
            : QByteArray();
        text.close();
        if (kept == 0 || !text.open(QIODevice::WriteOnly | QIODevice::Truncate) || text.write(retimed) != retimed.size()) {
            track.fate = TrackPlan::Fate::dropped;
            track.why = tr("none of its lines falls within the trim");
            continue;
        }
        track.file = file;
    }
    startEncoder();
}

QTemporaryDir *CropJob::prepared()
{
    if (!m_prepared)
        m_prepared = std::make_unique<QTemporaryDir>();
    return m_prepared->isValid() ? m_prepared.get() : nullptr;
}

void CropJob::startEncoder()
{
    if (m_request.keyframes.size() > 1) {
        // A crop that moves is written to a file: its expressions outgrow a command line.
        const QString filter = pictureFilter(m_request);
        QFile script(prepared() ? m_prepared->filePath(u"picture.filter"_s) : QString());
        if (!script.open(QIODevice::WriteOnly) || script.write(filter.toUtf8()) < 0 || !script.flush()) {
            fail(tr("Tessaly could not prepare the moving crop in its temporary folder: %1").arg(script.errorString()));
            return;
        }
        m_request.filterScript = script.fileName();
        writeDiagnostic(u"\""_s + filter + u'"');
    }
    const QStringList arguments = buildCropArguments(m_request, m_temporaryPath);
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted << u'"' + argument + u'"';
    writeDiagnostic(u'[' + quoted.join(u", "_s) + u']');
    m_output = EncoderOutput();
    m_state = State::Encoding;
    m_isStalled = false;
    m_stall.start();
    m_run.start(m_encoderPath, arguments, 0, ToolRun::Input::keys);
}

void CropJob::cancel()
{
    if (m_state == State::Idle || m_isProcessCancelledByUser)
        return;
    m_isProcessCancelledByUser = true;
    if (m_state == State::Probing) {
        m_probe.cancel();
        finishCancelled();
    } else {
        m_run.stop();
    }
}

QStringList CropJob::notes() const
{
    QStringList notes = m_request.plan.notes();
    if (m_request.hdr.dynamic && m_request.plan.videoEncoder == u"libx265")
        notes << tr("Video: its HDR10+ dynamic metadata is left out; HDR10's static metadata is kept");
    return notes;
}

void CropJob::readProgress()
{
    if (m_state != State::Encoding)
        return;
    const QByteArray output = m_run.takeOutput();
    for (const EncoderProgress &report : m_output.feedProgress(output)) {
        m_stall.start();
        if (std::exchange(m_isStalled, false))
            Q_EMIT stalled(false);
        Q_EMIT progressChanged(figuresOf(report, askedLength(m_request)));
    }
}

void CropJob::toolEnded(ToolRun::Outcome outcome, int exitCode)
{
    const State state = m_state;
    if (state == State::Idle || state == State::Probing)
        return;
    if (m_isProcessCancelledByUser) {
        finishCancelled();
        return;
    }
    if (outcome == ToolRun::Outcome::failedToStart) {
        fail(tr("The encoder could not be started: ") + m_run.errorString());
        return;
    }
    if (state == State::ReadingHeader) {
        headerRead();
        return;
    }
    if (state == State::ReadingHdr) {
        // Without the metadata the picture is still HDR by its tags.
        hdrRead(outcome == ToolRun::Outcome::exited ? m_run.takeOutput() : QByteArray());
        return;
    }
    if (state == State::ReadingSubtitles) {
        if (outcome != ToolRun::Outcome::exited || exitCode != 0) {
            fail(tr("The subtitles could not be read.\n%1").arg(m_output.decisiveMessage()));
            return;
        }
        subtitlesRead();
        return;
    }
    m_stall.stop();
    readProgress();
    if (outcome != ToolRun::Outcome::exited) {
        fail(tr("The encoder stopped unexpectedly."));
        return;
    }
    if (exitCode != 0) {
        fail(tr("The encoder stopped with exit status %1.\n%2").arg(exitCode).arg(m_output.decisiveMessage()));
        return;
    }
    m_state = State::Probing;
    m_probe.start(m_temporaryPath);
}

void CropJob::cropFinished(const FileProbe &output)
{
    if (m_state != State::Probing)
        return;
    if (!output.isCroppableVideo()) {
        fail(tr("The encoder finished but wrote no usable video."));
        return;
    }
    QString error;
    const auto placed = OutputFile::place(m_temporaryPath, m_destination, m_request.replaces, &error);
    if (!placed) {
        fail(tr("The cropped video could not be saved as %1: %2").arg(m_request.destination, error));
        return;
    }
    m_temporaryPath.clear();
    forgetRecord();
    m_prepared.reset();
    m_state = State::Idle;
    // Through a symlink the video is where the link points, and the user knows it by the link's name.
    Q_EMIT succeeded(output.withPath(*placed == m_destination ? m_request.destination : *placed));
}

void CropJob::fail(const QString &reason)
{
    discardTemporary();
    m_state = State::Idle;
    m_stall.stop();
    // Whatever the tools said of it, a folder gone is why nothing could be written there.
    const QString folder = QFileInfo(m_destination).absolutePath();
    Q_EMIT failed(m_destination.isEmpty() || QFileInfo(folder).isDir()
                      ? reason
                      : tr("The folder %1 was moved or deleted while the video was being cropped.")
                            .arg(QDir::toNativeSeparators(folder)));
}

void CropJob::finishCancelled()
{
    m_stall.stop();
    discardTemporary();
    m_state = State::Idle;
    Q_EMIT cancelled();
}

void CropJob::discardTemporary()
{
    if (!m_temporaryPath.isEmpty())
        QFile::remove(std::exchange(m_temporaryPath, QString()));
    m_prepared.reset();
    forgetRecord();
}

void CropJob::forgetRecord()
{
    if (!m_record.isEmpty())
        QFile::remove(std::exchange(m_record, QString()));
}
