#include "CropRoad.h"

#include "Alerts.h"
#include "DesktopIntegration.h"
#include "ProgressSheet.h"
#include "crop/OutputFile.h"
#include "media/InputFormats.h"
#include "util/FileRename.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString containerKey = u"saveContainer"_s;

QStringList nameFilters()
{
    return { CropRoad::tr("MPEG-4 Video (*.mp4)"), CropRoad::tr("QuickTime Movie (*.mov)"),
             CropRoad::tr("Matroska Video (*.mkv)") };
}

} // namespace

CropRoad::CropRoad(const QString &encoderPath, const QString &probeToolPath, QWidget *window, ProgressSheet *sheet,
                   QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_sheet(sheet)
    , m_settings(settings)
    , m_job(encoderPath, probeToolPath)
{
    connect(&m_job, &CropJob::progressChanged, this, &CropRoad::progressed);
    connect(&m_job, &CropJob::stalled, m_sheet,
            [this](bool stalled) { m_sheet->setStalled(stalled ? CropJob::stallMs / 1000 : 0); });
    connect(&m_job, &CropJob::succeeded, this, &CropRoad::finished);
    connect(&m_job, &CropJob::failed, this, &CropRoad::failed);
    connect(&m_job, &CropJob::cancelled, this, &CropRoad::ended);
}

QString CropRoad::outputName(const QString &chosen, Container filtered)
{
    return containerOf(chosen) ? chosen : chosen + u'.' + extensionOf(filtered);
}

void CropRoad::begin(const FileProbe &input, Choices choices, bool instant)
{
    if (isRunning())
        return;
    m_input = input;
    m_instant = instant;
    m_choices = std::move(choices);
    auto *panel = new QFileDialog(m_window, tr("Save Cropped Video"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    // The kind of the last crop is offered first.
    const int last = std::clamp(m_settings->value(containerKey, 0).toInt(), 0, 2);
    panel->setNameFilters(nameFilters());
    panel->selectNameFilter(nameFilters()[last]);
    panel->setDefaultSuffix(extensionOf(Container(last)));
    connect(panel, &QFileDialog::filterSelected, panel, [panel](const QString &filter) {
        const int kind = std::max(0, int(nameFilters().indexOf(filter)));
        panel->setDefaultSuffix(extensionOf(Container(kind)));
    });
    // Where the last crop went; the first goes beside the input.
    const QString lastFolder = m_settings->value(u"saveFolder"_s).toString();
    panel->setDirectory(QFileInfo(lastFolder).isDir() ? lastFolder
                                                      : QFileInfo(input.fileFullPath().value_or(QString())).absolutePath());
    panel->selectFile(QFileInfo(tr("Cropped.mp4")).completeBaseName() + u'.' + extensionOf(Container(last)));
    connect(panel, &QFileDialog::fileSelected, this, [this, panel](const QString &chosen) {
        checkOutput(chosen, Container(std::max(0, int(nameFilters().indexOf(panel->selectedNameFilter())))));
    });
    panel->open();
}

void CropRoad::checkOutput(const QString &chosenPath, Container filtered)
{
    if (!m_input || !m_input->fileFullPath())
        return;
    m_settings->setValue(u"saveFolder"_s, QFileInfo(chosenPath).absolutePath());
    const QString output = outputName(chosenPath, filtered);
    m_settings->setValue(containerKey, int(*containerOf(output)));
    // Through a link, "..", or another name for the same file, the source is never the output.
    if (OutputFile::isSameFile(*m_input->fileFullPath(), output)) {
        Alerts::sameName(m_window);
        return;
    }
    // The panel asked about the name as typed; the extension may make it another file's name.
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
    request.videoStream = m_input->videoStreamIndex();
    request.destination = output;
    // The user has just agreed to replace what is there now, and nothing else that may come.
    request.replaces = FileRename::identity(OutputFile::resolved(output));
    request.sampleAspect = m_input->sampleAspect();
    request.deinterlace = m_input->isInterlaced();
    request.creationTime = m_input->creationTime();
    request.inputDuration = m_input->videoDuration();
    request.startTime = m_input->startTime();
    request.seekLead = InputFormats::seekLead(m_input->formatName());
    request.videoEnd = m_input->videoDuration();
    OutputSettings settings;
    m_choices(request, settings);
    request.plan = OutputPlanner::plan(m_input->streams(), m_input->videoStreamIndex().value_or(-1),
                                       m_input->pictureColour(), m_input->chapterCount(),
                                       containerOf(output).value_or(Container::mp4), settings, m_instant);
    // A job that fails at once has said so in an alert: a sheet flashed up and down
    // under it would leave the alert without the keyboard.
    if (!m_job.runCropProcess(request))
        return;
    m_title = m_window->windowTitle();
    m_sheet->showCroppingProgress();
}

void CropRoad::progressed(const ProgressFigures &progress)
{
    m_sheet->setProgress(progress);
    // The percent stands in the title, where a taskbar shows it.
    m_window->setWindowTitle(tr("%1 % — %2").arg(int(progress.percent)).arg(m_title));
}

void CropRoad::ended()
{
    m_sheet->hideCroppingProgress();
    if (!m_title.isEmpty())
        m_window->setWindowTitle(std::exchange(m_title, QString()));
}

void CropRoad::finished(const FileProbe &output)
{
    ended();
    // What the crop kept and changed, track by track, said rather than done silently.
    const CropRequest &request = m_job.request();
    const QString written = output.fileFullPath().value_or(QString());
    QStringList notes { tr("Saved as %1").arg(QDir::toNativeSeparators(written)) };
    if (written != request.destination)
        notes << tr("“%1” appeared while the video was being cropped, so it was saved beside it as “%2”.")
                     .arg(QFileInfo(request.destination).fileName(), QFileInfo(written).fileName());
    if (request.deinterlace)
        notes << tr("Interlaced: made progressive");
    notes += m_job.notes();
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
    ended();
    Alerts::cropFailed(m_window, reason);
}
