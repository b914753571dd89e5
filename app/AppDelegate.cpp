#include "AppDelegate.h"

#include "Alerts.h"
#include "DesktopIntegration.h"
#include "Icons.h"
#include "ImageDropView.h"
#include "ProgressSheet.h"
#include "ScaleFactorWindow.h"
#include "CropRoad.h"
#include "PosterStrip.h"
#include "SelectionPanel.h"
#include "UserGuide.h"
#include "TrimBar.h"
#include "VideoInfoWindow.h"
#include "crop/OutputFile.h"
#include "selection/BorderDetection.h"
#include "util/StateFolder.h"
#include "ui_MainWindow.h"
#include "util/Resources.h"
#include "util/TimeText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QDir>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>

using namespace Qt::StringLiterals;

AppDelegate::Tools AppDelegate::Tools::bundled()
{
    return { Resources::pathForResource(u"sniffer"_s).value_or(QString()),
             Resources::pathForResource(u"creator"_s).value_or(QString()) };
}

AppDelegate::AppDelegate(const Tools &tools, const QString &scratchBase, QObject *parent)
    : QObject(parent)
    , m_tools(tools)
    , m_scratchBase(scratchBase)
    // The user's settings; a test's own, beside its scratch folder.
    , m_settings(scratchBase.isEmpty() ? std::make_unique<QSettings>()
                                       : std::make_unique<QSettings>(scratchBase + u"/settings.ini"_s,
                                                                     QSettings::IniFormat))
    , m_window(std::make_unique<QMainWindow>())
    , m_ui(std::make_unique<Ui::MainWindow>())
    , m_probeJob(tools.probe)
{
    m_ui->setupUi(m_window.get());
    m_panel = m_ui->selectionPanel;
    posterPositionSliderTBI = m_ui->toolBar->insertWidget(m_ui->scaleFactorBTN, m_ui->posterPositionSlider);
    m_ui->toolBar->insertWidget(m_ui->scaleFactorBTN, m_ui->posterTimeLBL);
    // Room for the longest text, so that the toolbar never shifts as it changes.
    m_ui->posterTimeLBL->setMinimumWidth(m_ui->posterTimeLBL->fontMetrics().horizontalAdvance(
                                             tr("%1 · %2 / %3").arg(u"00:00:00.000"_s).arg(11).arg(11))
                                         + 2 * m_ui->posterTimeLBL->margin());
    m_ui->toolBar->insertSeparator(m_ui->scaleFactorBTN);

    const QStyle *style = m_window->style();
    m_ui->openBTN->setIcon(QIcon::fromTheme(u"document-open"_s, style->standardIcon(QStyle::SP_DialogOpenButton)));
    m_ui->cropVideoBTN->setIcon(Icons::crop());
    m_ui->scaleFactorBTN->setIcon(Icons::scale());
    m_ui->scaleFactorBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    m_ui->detectBordersBTN->setIcon(Icons::borders());
    m_ui->detectBordersBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    m_ui->videoInfoBTN->setIcon(QIcon::fromTheme(u"dialog-information"_s,
                                                 style->standardIcon(QStyle::SP_FileDialogInfoView)));
    m_ui->videoInfoBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    m_ui->helpBTN->setIcon(QIcon::fromTheme(u"help-about"_s, style->standardIcon(QStyle::SP_MessageBoxQuestion)));
    m_ui->openBTN->setShortcut(QKeySequence::Open);
    m_ui->cropVideoBTN->setShortcut(QKeySequence::Save);
    m_ui->quitBTN->setShortcut(QKeySequence::Quit);
    m_ui->helpBTN->setShortcut(QKeySequence::HelpContents);

    progressWindow = new ProgressSheet(m_window.get());
    m_cropRoad = new CropRoad(tools.encoder, tools.probe, m_window.get(), progressWindow, this);
    m_posters = new PosterStrip(tools.encoder, tools.probe, this);
    connect(m_posters, &PosterStrip::incomingAdopted, this, &AppDelegate::adoptIncoming);
    connect(m_posters, &PosterStrip::frameMade, this, &AppDelegate::posterFrameMade);
    connect(m_posters, &PosterStrip::finished, this, &AppDelegate::postersFinished);
    connect(m_posters, &PosterStrip::incomingFailed, this, &AppDelegate::postersFailed);
    scaleFactorWindow = new ScaleFactorWindow(m_window.get());
    m_videoInfoWindow = new VideoInfoWindow(m_window.get());
    connectActions();
    addTrimKeys();
}

AppDelegate::~AppDelegate()
{
    applicationWillTerminate();
    m_window.reset();
}

QMainWindow *AppDelegate::window() const
{
    return m_window.get();
}

void AppDelegate::connectActions()
{
    connect(m_ui->openBTN, &QAction::triggered, this, &AppDelegate::showOpenPanel);
    connect(m_ui->cropVideoBTN, &QAction::triggered, this, &AppDelegate::cropVideoBTNClicked);
    connect(m_ui->scaleFactorBTN, &QAction::triggered, scaleFactorWindow, &ScaleFactorWindow::scaleFactorBTNClicked);
    connect(m_ui->helpBTN, &QAction::triggered, this, &AppDelegate::helpBTNClicked);
    connect(m_ui->detectBordersBTN, &QAction::triggered, this, &AppDelegate::detectBordersBTNClicked);
    connect(m_ui->videoInfoBTN, &QAction::triggered, this, &AppDelegate::videoInfoBTNClicked);
    m_ui->keepRecordingDateBTN->setChecked(m_settings->value(u"keepRecordingDate"_s, true).toBool());
    connect(m_ui->keepRecordingDateBTN, &QAction::toggled, this,
            [this](bool on) { m_settings->setValue(u"keepRecordingDate"_s, on); });
    connect(m_ui->quitBTN, &QAction::triggered, m_window.get(), &QWidget::close);
    connect(m_ui->posterPositionSlider, &QSlider::valueChanged, this, &AppDelegate::posterPositionSliderChanged);
    connect(progressWindow, &ProgressSheet::cancelRequested, this, &AppDelegate::closeBTNInsideProgressWindowClicked);
    connect(m_panel, &SelectionPanel::cropChanged, this, &AppDelegate::selectionChanged);
    const auto note = [this](const QString &text) { m_window->statusBar()->showMessage(text, 8000); };
    connect(m_panel, &SelectionPanel::notice, this, note);
    connect(m_ui->trimBar, &TrimBar::notice, this, note);
    connect(scaleFactorWindow, &ScaleFactorWindow::scaleChanged, this, [this] {
        const bool scaled = scaleFactorWindow->percent() != 100;
        m_panel->setOutputSize(scaled ? std::optional(scaleFactorWindow->scaledOutputSize()) : std::nullopt);
    });
    connect(m_panel->posterView(), &ImageDropView::fileAddedByDragAndDrop, this, &AppDelegate::fileAddedByDragAndDrop);

    connect(&m_probeJob, &ProbeJob::finished, this, &AppDelegate::probeFinished);
}

void AppDelegate::applicationDidFinishLaunching()
{
    // Where the user left the window; else a first size that fits the screen, at any scaling.
    if (m_window->restoreGeometry(m_settings->value(u"windowGeometry"_s).toByteArray())) {
        // Restored.
    } else if (const QScreen *screen = m_window->screen()) {
        const QRect available = screen->availableGeometry();
        m_window->resize(m_window->size().boundedTo(available.size() * 0.9).expandedTo(m_window->minimumSizeHint()));
        const QPoint centred = available.center() - m_window->rect().center();
        m_window->move(std::max(centred.x(), available.left()), std::max(centred.y(), available.top()));
    }
    // A fresh private scratch folder; folders of crashed instances go.
    m_scratch = std::make_unique<ScratchDirectory>(m_scratchBase);
    // The notes of temporary outputs outlive a reboot, as the outputs beside the user's files do;
    // a later launch removes those of an instance that died.
    const QString recordsBase = m_scratchBase.isEmpty() ? stateFolder() : m_scratchBase + u"/state"_s;
    QDir().mkpath(recordsBase);
    m_outputRecords = std::make_unique<ScratchDirectory>(recordsBase);
    m_cropRoad->setOutputRecordsFolder(m_outputRecords->isValid() ? m_outputRecords->outputRecordsDirectory()
                                                                : QString());
    resetControls();
    m_window->show();
}

QString AppDelegate::outputRecordsFolder() const
{
    return m_outputRecords && m_outputRecords->isValid() ? m_outputRecords->outputRecordsDirectory() : QString();
}

void AppDelegate::applicationWillTerminate()
{
    m_settings->setValue(u"windowGeometry"_s, m_window->saveGeometry());
    m_probeJob.cancel();
    m_posters->cancel();
    if (m_scratch)
        m_scratch->removeScratchDirectory();
    if (m_outputRecords && !m_cropRoad->isRunning())
        m_outputRecords->removeScratchDirectory();
}

void AppDelegate::openFile(const QString &pathOrUrl)
{
    fileAddedByDragAndDrop(QUrl::fromUserInput(pathOrUrl, QDir::currentPath(), QUrl::AssumeLocalFile));
}

// ---------------------------------------------------------------- intake and states

void AppDelegate::resetControls()
{
    m_ui->cropVideoBTN->setEnabled(false);
    posterPositionSliderTBI->setEnabled(false);
    m_ui->posterPositionSlider->setEnabled(false);
    m_ui->posterPositionSlider->setValue(6);
    m_panel->clear();
    m_panel->posterView()->setImagePath(QString());
    m_ui->posterTimeLBL->clear();
    m_ui->trimBar->clear();
    m_window->setWindowTitle(u"Tessaly"_s);
    m_ui->detectBordersBTN->setEnabled(false);
    m_ui->videoInfoBTN->setEnabled(false);
    m_ui->scaleFactorBTN->setEnabled(false);
    scaleFactorWindow->reset(QSize());
}

void AppDelegate::enableControls()
{
    m_ui->cropVideoBTN->setEnabled(true);
    posterPositionSliderTBI->setEnabled(true);
    m_ui->posterPositionSlider->setEnabled(true);
    m_ui->posterPositionSlider->setValue(6);
    showPosterFrame();
    m_ui->videoInfoBTN->setEnabled(true);
    m_ui->scaleFactorBTN->setEnabled(true);
}

void AppDelegate::showOpenPanel()
{
    auto *panel = new QFileDialog(m_window.get(), tr("Open Video"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setFileMode(QFileDialog::ExistingFile);
    // Where the last video came from.
    if (const QString folder = m_settings->value(u"openFolder"_s).toString(); QFileInfo(folder).isDir())
        panel->setDirectory(folder);
    panel->setNameFilters({ tr("Videos (*.mp4 *.m4v *.mov *.mkv *.webm *.avi *.wmv *.flv *.mpg *.mpeg *.m2v *.ts *.mts "
                               "*.m2ts *.3gp *.3g2 *.ogv *.dv *.mxf *.MP4 *.MOV *.MTS *.AVI *.MKV)"),
                            tr("All Files (*)") });
    connect(panel, &QFileDialog::fileSelected, this,
            [this](const QString &path) { analyzeVideoFile(QUrl::fromLocalFile(path)); });
    panel->open();
}

void AppDelegate::fileAddedByDragAndDrop(const QUrl &url)
{
    analyzeVideoFile(url);
}

bool AppDelegate::isBusy() const
{
    // Posters still coming after the first do not hold a new file back.
    return m_probeJob.isRunning() || m_cropRoad->isRunning() || m_posters->hasIncoming();
}

void AppDelegate::analyzeVideoFile(const QUrl &url)
{
    // The window is blocked by a sheet meanwhile; a file handed over now waits for no one.
    if (isBusy())
        return;
    // The shown video stays until the new one has a poster to show.
    // Probing runs in the background under the analyzing sheet, so the window stays alive.
    progressWindow->showAnalyzingProgress();
    m_probeJob.start(url.toLocalFile());
}

void AppDelegate::probeFinished(const FileProbe &probe)
{
    const QString path = probe.fileFullPath().value_or(QString());
    // A refused file leaves the shown video as it was.
    const auto refuse = [this](auto alert) {
        progressWindow->hideAnalyzingProgress();
        alert(m_window.get());
    };
    const auto about = [path](QMessageBox *(*alert)(QWidget *, const QString &)) {
        return [alert, path](QWidget *window) { return alert(window, path); };
    };
    if (QFileInfo(path).suffix().toLower() == u"vob")
        return refuse(Alerts::vobRefused);
    if (!QFileInfo::exists(path))
        return refuse(about(Alerts::notFound));
    if (probe.isValidMediaFile() && !probe.hasVideoTrack() && probe.hasAudioTrack())
        return refuse(about(Alerts::noVideo));
    if (!probe.isCroppableVideo())
        return refuse(Alerts::unsupportedFile);
    if (!m_scratch || !m_scratch->isValid())
        return refuse(Alerts::noScratchFolder);
    startIncoming(probe);
}

void AppDelegate::startIncoming(const FileProbe &probe)
{
    m_incomingProbe = probe;
    const QSize frame(int(*probe.videoWidth()), int(*probe.videoHeight()));
    const QSize shown = CropGeometry::displaySize(frame.width(), frame.height(), probe.sampleAspect());
    // No poster larger than the screen can show.
    const QScreen *screen = m_window->screen();
    const QSize bound = screen ? screen->size() * screen->devicePixelRatio() : QSize();
    m_posters->startIncoming({ probe.fileFullPath().value_or(QString()), probe.videoStreamIndex(), probe.formatName(),
                               probe.videoDuration(), probe.videoFrameRate(), frame, shown },
                             m_scratch->framesDirectory(), bound);
}

void AppDelegate::adoptIncoming()
{
    resetControls();
    globalFP = std::exchange(m_incomingProbe, std::nullopt);
    m_settings->setValue(u"openFolder"_s, QFileInfo(globalFP->fileFullPath().value_or(QString())).absolutePath());
    m_videoInfoWindow->follow(*globalFP);
}

void AppDelegate::posterFrameMade(int n, int progress)
{
    progressWindow->progressBar()->setValue(progress);
    // The window is the user's as soon as there is a picture to place the selection on.
    if (!m_ui->cropVideoBTN->isEnabled()) {
        progressWindow->hideAnalyzingProgress();
        enableControls();
        m_panel->setVideo(globalFP->videoWidth().value_or(0), globalFP->videoHeight().value_or(0),
                          globalFP->sampleAspect());
        const double frameRate = globalFP->videoFrameRate() > 0 ? globalFP->videoFrameRate() : 25;
        m_ui->trimBar->setVideo(globalFP->videoDuration(), 1 / frameRate);
        m_window->setWindowTitle(QFileInfo(globalFP->fileFullPath().value_or(QString())).fileName());
    }
    if (n <= m_ui->posterPositionSlider->value())
        showPosterFrame();
}

void AppDelegate::postersFailed(const QString &reason)
{
    // Only a new file fails, before its first poster; the shown video stays.
    progressWindow->hideAnalyzingProgress();
    m_incomingProbe.reset();
    Alerts::undecodableVideo(m_window.get(), reason);
}

void AppDelegate::postersFinished()
{
    // Borders are looked for across all eleven.
    m_ui->detectBordersBTN->setEnabled(true);
    showPosterFrame();
}

// ---------------------------------------------------------------- posters

void AppDelegate::posterPositionSliderChanged()
{
    showPosterFrame();
}

int AppDelegate::shownPoster() const
{
    // Until the poster asked for arrives, the last one before it stands in.
    return m_posters->shownPoster(m_ui->posterPositionSlider->value());
}

void AppDelegate::showPosterFrame()
{
    const int n = shownPoster();
    if (!m_scratch || n == 0) {
        m_ui->posterTimeLBL->clear();
        return;
    }
    m_panel->posterView()->setImagePath(m_posters->framePath(n));
    m_ui->posterTimeLBL->setText(tr("%1 · %2 / %3")
                                     .arg(TimeText::format(m_posters->pictureTime(n)))
                                     .arg(n)
                                     .arg(PosterExtractor::frameCount));
}

void AppDelegate::addTrimKeys()
{
    // , and . step through the posters; I and O take the one shown as Start and End.
    const auto key = [this](QChar letter, auto action) {
        auto *shortcut = new QShortcut(QKeySequence(QString(letter)), m_window.get());
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            if (m_ui->cropVideoBTN->isEnabled())
                action();
        });
    };
    QSlider *posters = m_ui->posterPositionSlider;
    key(u',', [posters] { posters->setValue(posters->value() - 1); });
    key(u'.', [posters] { posters->setValue(posters->value() + 1); });
    key(u'I', [this] { m_ui->trimBar->setStart(m_posters->pictureTime(shownPoster())); });
    key(u'O', [this] { m_ui->trimBar->setEnd(m_posters->pictureTime(shownPoster())); });
}

// ---------------------------------------------------------------- beyond the crop

void AppDelegate::detectBordersBTNClicked()
{
    if (!m_scratch || !m_ui->detectBordersBTN->isEnabled())
        return;
    QStringList posters;
    for (int n = 1; n <= PosterExtractor::frameCount; ++n)
        posters << m_posters->framePath(n);
    const auto content = BorderDetection::cropFor(posters, m_panel->videoSize(), m_panel->minimumCropSize());
    if (!content) {
        m_window->statusBar()->showMessage(tr("No border found: the selection is as it was."), 8000);
        return;
    }
    m_panel->selectFreely(*content);
    const QRect crop = m_panel->crop();
    m_window->statusBar()->showMessage(tr("Borders found: the selection is now the picture inside them, %1 x %2 at %3, %4.")
                                           .arg(crop.width())
                                           .arg(crop.height())
                                           .arg(crop.x())
                                           .arg(crop.y()),
                                       8000);
}

void AppDelegate::videoInfoBTNClicked()
{
    if (globalFP && m_ui->videoInfoBTN->isEnabled())
        m_videoInfoWindow->showVideo(*globalFP);
}

// ---------------------------------------------------------------- the crop

void AppDelegate::selectionChanged()
{
    // Any change of the selection starts the scale over.
    scaleFactorWindow->reset(m_panel->croppedSize());
}

void AppDelegate::cropVideoBTNClicked()
{
    if (globalFP && !m_cropRoad->isRunning())
        m_cropRoad->begin(*globalFP, [this](const QString &output) { return cropRequest(output); });
}

CropRequest AppDelegate::cropRequest(const QString &output) const
{
    CropRequest request;
    request.input = *globalFP->fileFullPath();
    request.videoStream = globalFP->videoStreamIndex();
    request.destination = output;
    request.crop = m_panel->storedCrop();
    request.scalePercent = scaleFactorWindow->percent();
    const QSize shown = scaleFactorWindow->scaledOutputSize();
    request.sampleAspect = globalFP->sampleAspect();
    request.scaledSize = QSize(CropGeometry::storedWidth(shown.width(), request.sampleAspect), shown.height());
    request.downmixToStereo = globalFP->hasAudioTrack() && globalFP->hasAudioTrackWhichHasMoreThanTwoChannels();
    request.deinterlace = globalFP->isInterlaced();
    if (m_ui->keepRecordingDateBTN->isChecked())
        request.creationTime = globalFP->creationTime();
    request.inputDuration = globalFP->videoDuration();
    request.trim = m_ui->trimBar->trim();
    return request;
}

void AppDelegate::closeBTNInsideProgressWindowClicked()
{
    if (m_cropRoad->isRunning()) {
        m_cropRoad->cancel();
        return;
    }
    // The analysis stops at once; the video shown before, if any, stays.
    m_probeJob.cancel();
    m_posters->dropIncoming();
    m_incomingProbe.reset();
    progressWindow->hideAnalyzingProgress();
}

void AppDelegate::helpBTNClicked()
{
    UserGuide::show(m_window.get());
}
