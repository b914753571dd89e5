#include "CropRoad.h"

#include "Alerts.h"
#include "DesktopIntegration.h"
#include "ProgressSheet.h"
#include "crop/OutputFile.h"
#include "crop/PosterPlanner.h"
#include "util/FileRename.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

using namespace Qt::StringLiterals;

CropRoad::CropRoad(const QString &encoderPath, const QString &probeToolPath, QWidget *window, ProgressSheet *sheet,
                   QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_sheet(sheet)
    , m_settings(settings)
    , m_job(encoderPath, probeToolPath)
{
    connect(&m_job, &CropJob::progressChanged, m_sheet, &ProgressSheet::setProgress);
    connect(&m_job, &CropJob::stalled, m_sheet,
            [this](bool stalled) { m_sheet->setStalled(stalled ? CropJob::stallMs / 1000 : 0); });
    connect(&m_job, &CropJob::succeeded, this, &CropRoad::finished);
    connect(&m_job, &CropJob::failed, this, &CropRoad::failed);
    connect(&m_job, &CropJob::cancelled, m_sheet, &ProgressSheet::hideCroppingProgress);
}

void CropRoad::begin(const FileProbe &input, Choices choices)
{
    if (isRunning())
        return;
    m_input = input;
    m_choices = std::move(choices);
    auto *panel = new QFileDialog(m_window, tr("Save Cropped Video"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setNameFilter(tr("MPEG-4 Video (*.mp4)"));
    panel->setDefaultSuffix(u"mp4"_s);
    // Where the last crop went; the first goes beside the input.
    const QString lastFolder = m_settings->value(u"saveFolder"_s).toString();
    panel->setDirectory(QFileInfo(lastFolder).isDir() ? lastFolder
                                                      : QFileInfo(input.fileFullPath().value_or(QString())).absolutePath());
    panel->selectFile(tr("Cropped.mp4"));
    connect(panel, &QFileDialog::fileSelected, this, &CropRoad::checkOutput);
    panel->open();
}

void CropRoad::checkOutput(const QString &chosenPath)
{
    if (!m_input || !m_input->fileFullPath())
        return;
    m_settings->setValue(u"saveFolder"_s, QFileInfo(chosenPath).absolutePath());
    // The output is always an MP4 file, whatever the name typed.
    const QString output = QFileInfo(chosenPath).suffix().compare(u"mp4", Qt::CaseInsensitive) == 0
        ? chosenPath
        : chosenPath + u".mp4"_s;
    // Through a link, "..", or another name for the same file, the source is never the output.
    if (OutputFile::isSameFile(*m_input->fileFullPath(), output)) {
        Alerts::sameName(m_window);
        return;
    }
    // The panel asked about the name as typed; ".mp4" may make it another file's name.
    if (output != chosenPath && QFileInfo::exists(output)) {
        QMessageBox *question = Alerts::replaceFile(m_window, output);
        connect(question, &QMessageBox::buttonClicked, this, [this, question, output](QAbstractButton *button) {
            if (question->buttonRole(button) == QMessageBox::AcceptRole)
                run(output);
        });
        return;
    }
    run(output);
}

void CropRoad::run(const QString &output)
{
    CropRequest request;
    request.input = *m_input->fileFullPath();
    request.inputFormat = m_input->formatName();
    // The user has just agreed to replace what is there now, and nothing else that may come.
    request.replaces = FileRename::identity(OutputFile::resolved(output));
    request.videoStream = m_input->videoStreamIndex();
    request.destination = output;
    request.sampleAspect = m_input->sampleAspect();
    request.downmixToStereo = m_input->hasAudioTrack() && m_input->hasAudioTrackWhichHasMoreThanTwoChannels();
    request.deinterlace = m_input->isInterlaced();
    request.creationTime = m_input->creationTime();
    request.inputDuration = m_input->videoDuration();
    request.seekLead = PosterPlanner::seekLead(m_input->formatName());
    m_choices(request);
    // A job that fails at once has said so in an alert: a sheet flashed up and down
    // under it would leave the alert without the keyboard.
    if (m_job.runCropProcess(request))
        m_sheet->showCroppingProgress();
}

void CropRoad::finished(const FileProbe &output)
{
    m_sheet->hideCroppingProgress();
    // What the crop changed beyond the picture, said rather than done silently.
    const CropRequest &request = m_job.request();
    QStringList notes;
    if (request.downmixToStereo)
        notes << tr("Audio: %1 mixed down to stereo").arg(m_input->multichannelLayout());
    if (request.deinterlace)
        notes << tr("Interlaced: made progressive");
    if (const QString written = output.fileFullPath().value_or(QString()); written != request.destination)
        notes << tr("“%1” appeared while the video was being cropped, so it was saved beside it as “%2”.")
                     .arg(QFileInfo(request.destination).fileName(), QFileInfo(written).fileName());
    QMessageBox *alert = Alerts::cropResult(m_window, *m_input, output, notes,
                                            readableEnd(request, output.videoDuration()));
    connect(alert, &QMessageBox::buttonClicked, this, [output](QAbstractButton *button) {
        const QUrl url = output.fileFullURL().value_or(QUrl());
        if (const int response = Alerts::responseOf(button); response == Alerts::play)
            DesktopIntegration::playVideo(url);
        else if (response == Alerts::reveal)
            DesktopIntegration::revealInFileManager(url);
    });
}

void CropRoad::failed(const QString &reason)
{
    m_sheet->hideCroppingProgress();
    Alerts::cropFailed(m_window, reason);
}
