#include "AppDelegate.h"

#include "Alerts.h"
#include "CropRoad.h"
#include "CropTimeline.h"
#include "FileChooser.h"
#include "ImageDropView.h"
#include "PosterBrowser.h"
#include "PosterStrip.h"
#include "OutputSettingsWindow.h"
#include "ProgressSheet.h"
#include "ScaleFactorWindow.h"
#include "SelectionPanel.h"
#include "TrimBar.h"
#include "UserGuide.h"
#include "VideoInfoWindow.h"
#include "WindowDressing.h"
#include "ui_MainWindow.h"
#include "crop/InstantCrop.h"
#include "util/Resources.h"
#include "util/TimeText.h"
#include "util/StateFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

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
    , m_keyframes(tools.probe)
{
    m_ui->setupUi(m_window.get());
    m_panel = m_ui->selectionPanel;
    QAction *slider = WindowDressing::dress(*m_ui, *m_window);
    progressWindow = new ProgressSheet(m_window.get());
    m_cropRoad = new CropRoad(tools.encoder, tools.probe, m_window.get(), progressWindow, m_settings.get(), this);
    m_chooser = new FileChooser(m_window.get(), m_ui->recentMenu, m_settings.get(), this);
    connect(m_chooser, &FileChooser::chosen, this, &AppDelegate::openFile);
    m_posters = new PosterStrip(tools.encoder, tools.probe, this);
    m_browser = new PosterBrowser(m_posters, m_tools.encoder, slider, *m_ui, m_window.get());
    m_timeline = new CropTimeline(m_browser, *m_ui, this);
    m_follow = new FollowJob(tools.encoder, this);
    connect(m_posters, &PosterStrip::incomingAdopted, this, &AppDelegate::adoptIncoming);
    connect(m_posters, &PosterStrip::posterMade, this, &AppDelegate::posterMade);
    connect(m_posters, &PosterStrip::finished, this, &AppDelegate::postersFinished);
    connect(m_posters, &PosterStrip::incomingFailed, this, &AppDelegate::postersFailed);
    scaleFactorWindow = new ScaleFactorWindow(m_window.get());
    m_outputSettingsWindow = new OutputSettingsWindow(m_window.get(), m_settings.get());
    m_videoInfoWindow = new VideoInfoWindow(m_window.get());
    connectActions();
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
    connect(m_ui->openBTN, &QAction::triggered, m_chooser, &FileChooser::showOpenPanel);
    connect(m_ui->cropVideoBTN, &QAction::triggered, this, &AppDelegate::cropVideoBTNClicked);
    connect(m_ui->cropInstantBTN, &QAction::triggered, this, &AppDelegate::cropInstantBTNClicked);
    connect(&m_keyframes, &ProbeTool::finished, this, [this](const QString &path, const ProbeTool::Result &listing) {
        const auto trim = m_ui->trimBar->trim();
        if (!trim || !globalFP || path != globalFP->fileFullPath())
            return;
        // The copy starts on a keyframe: Start moves back to the one at or before it, which a screen
        // recording may have only at its very start.
        const QList<double> keyframes = PosterPlan::keyframes(listing.report.value_or(QByteArray()));
        if (keyframes.isEmpty() && std::exchange(m_keyframesFrom, 0.0) > 0)
            return listKeyframes();
        const double start = InstantCrop::keyframeAtOrBefore(keyframes, trim->start);
        QStringList said;
        if (std::abs(start - trim->start) >= 0.0005)
            said << tr("Start to the keyframe at %1, where a copy can begin").arg(TimeText::format(start));
        beginInstant(start, m_pendingInstantNote + said);
    });
    connect(m_ui->scaleFactorBTN, &QAction::triggered, scaleFactorWindow, &ScaleFactorWindow::scaleFactorBTNClicked);
    connect(m_ui->outputSettingsBTN, &QAction::triggered, m_outputSettingsWindow, &QDialog::open);
    connect(m_ui->helpBTN, &QAction::triggered, this, [this] { UserGuide::show(m_window.get()); });
    connect(m_ui->detectBordersBTN, &QAction::triggered, this, [this] {
        if (m_ui->detectBordersBTN->isEnabled())
            m_window->statusBar()->showMessage(m_panel->selectContent(m_posters->framePaths()), 8000);
    });
    connect(m_ui->videoInfoBTN, &QAction::triggered, this, [this] {
        if (globalFP && m_ui->videoInfoBTN->isEnabled())
            m_videoInfoWindow->showVideo(*globalFP);
    });
    connect(m_ui->guidesBTN, &QAction::toggled, m_panel, &SelectionPanel::setGuidesShown);
    connect(m_ui->motionMapBTN, &QAction::toggled, m_panel, &SelectionPanel::setMotionMapShown);
    connect(m_panel, &SelectionPanel::movingOutside, this, [this](int poster) {
        m_ui->motionJumpBTN->setEnabled(poster > 0);
        m_ui->motionJumpBTN->setData(poster);
    });
    connect(m_ui->motionJumpBTN, &QAction::triggered, this,
            [this] { m_browser->goToPoster(m_ui->motionJumpBTN->data().toInt() - 1); });
    m_ui->keepRecordingDateBTN->setChecked(m_settings->value(u"keepRecordingDate"_s, true).toBool());
    connect(m_ui->keepRecordingDateBTN, &QAction::toggled, this,
            [this](bool on) { m_settings->setValue(u"keepRecordingDate"_s, on); });
    connect(m_ui->quitBTN, &QAction::triggered, m_window.get(), &QWidget::close);
    connect(progressWindow, &ProgressSheet::cancelRequested, this, &AppDelegate::closeBTNInsideProgressWindowClicked);
    // Any change of the selection starts the scale over; a crop that glides between its keyframes keeps it.
    connect(m_panel, &SelectionPanel::cropChanged, this, [this] {
        if (!m_timeline->isGliding())
            scaleFactorWindow->reset(m_panel->croppedSize());
        updateInstant();
    });
    connect(m_timeline, &CropTimeline::keyframesChanged, this, &AppDelegate::updateInstant);
    const auto note = [this](const QString &text) { m_window->statusBar()->showMessage(text, 8000); };
    connect(m_panel, &SelectionPanel::notice, this, note);
    connect(m_ui->trimBar, &TrimBar::notice, this, note);
    connect(m_timeline, &CropTimeline::notice, this, note);
    connect(m_ui->followMotionBTN, &QAction::triggered, this, &AppDelegate::followMotion);
    connect(m_follow, &FollowJob::progress, progressWindow, qOverload<double>(&ProgressSheet::setProgress));
    connect(m_follow, &FollowJob::finished, this, [this](const QList<CropKeyframe> &keys) {
        progressWindow->hideCroppingProgress();
        m_timeline->setKeyframes(keys);
        const bool moves = std::any_of(keys.begin(), keys.end(),
                                       [&](const CropKeyframe &key) { return key.crop != keys.first().crop; });
        m_window->statusBar()->showMessage(
            moves ? tr("The crop follows the motion with %n keyframes; move any of them, or undo.", nullptr,
                                 int(keys.size()))
                            : tr("Nothing moves outside one place: the crop stands still there."),
            8000);
    });
    connect(m_follow, &FollowJob::failed, this, [this](const QString &reason) {
        progressWindow->hideCroppingProgress();
        Alerts::followFailed(m_window.get(), reason);
    });
    connect(scaleFactorWindow, &ScaleFactorWindow::scaleChanged, this, [this] {
        const bool scaled = scaleFactorWindow->percent() != 100;
        m_panel->setOutputSize(scaled ? std::optional(scaleFactorWindow->scaledOutputSize()) : std::nullopt);
        updateInstant();
    });
    connect(m_panel->posterView(), &ImageDropView::fileAddedByDragAndDrop, this, &AppDelegate::analyzeVideoFile);

    connect(&m_probeJob, &ProbeJob::finished, this, &AppDelegate::probeFinished);
}

void AppDelegate::applicationDidFinishLaunching()
{
    WindowDressing::place(*m_window, m_settings->value(u"windowGeometry"_s).toByteArray());
    // A fresh private scratch folder; folders of crashed instances go.
    m_scratch = std::make_unique<ScratchDirectory>(m_scratchBase);
    // The notes of temporary outputs outlive a reboot, as the outputs beside the user's files do;
    // a later launch removes those of an instance that died.
    const QString recordsBase = m_scratchBase.isEmpty() ? stateFolder() : m_scratchBase + u"/state"_s;
    QDir().mkpath(recordsBase);
    m_outputRecords = std::make_unique<ScratchDirectory>(recordsBase);
    m_cropRoad->setOutputRecordsFolder(outputRecordsFolder());
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
    analyzeVideoFile(QUrl::fromUserInput(pathOrUrl, QDir::currentPath(), QUrl::AssumeLocalFile));
}

void AppDelegate::resetControls()
{
    m_ui->cropVideoBTN->setEnabled(false);
    m_ui->cropInstantBTN->setEnabled(false);
    m_browser->setEnabled(false);
    m_timeline->setEnabled(false);
    m_follow->cancel();
    m_ui->followMotionBTN->setEnabled(false);
    m_panel->clear();
    m_ui->trimBar->clear();
    m_window->setWindowTitle(u"Tessaly"_s);
    m_ui->detectBordersBTN->setEnabled(false);
    m_ui->motionMapBTN->setEnabled(false);
    m_ui->videoInfoBTN->setEnabled(false);
    m_ui->scaleFactorBTN->setEnabled(false);
    scaleFactorWindow->reset(QSize());
}

void AppDelegate::enableControls()
{
    m_ui->cropVideoBTN->setEnabled(true);
    m_browser->setEnabled(true);
    m_timeline->setEnabled(true);
    m_ui->followMotionBTN->setEnabled(true);
    updateInstant();
    m_ui->videoInfoBTN->setEnabled(true);
    m_ui->scaleFactorBTN->setEnabled(true);
}

bool AppDelegate::isBusy() const
{
    // Posters still coming after the first do not hold a new file back.
    return m_probeJob.isRunning() || m_cropRoad->isRunning() || m_posters->hasIncoming() || m_follow->isRunning();
}

void AppDelegate::analyzeVideoFile(const QUrl &url)
{
    // The window is blocked by a sheet meanwhile; a file handed over now waits for no one.
    if (isBusy())
        return;
    // Nothing is read of what is no regular file here: a named pipe would hold the window, a URL other places.
    if (const Alerts::Refusal refusal = Alerts::refusalOf(url)) {
        refusal(m_window.get());
        return;
    }
    // The shown video stays until the new one has a poster to show.
    // Probing runs in the background under the analyzing sheet, so the window stays alive.
    progressWindow->showAnalyzingProgress();
    m_probeJob.start(url.toLocalFile());
}

void AppDelegate::probeFinished(const FileProbe &probe)
{
    auto refusal = Alerts::refusalOf(probe);
    if (!refusal && (!m_scratch || !m_scratch->isValid()))
        refusal = Alerts::noScratchFolder;
    if (refusal) {
        // A refused file leaves the shown video as it was; the sheet goes first, so the alert has the keys.
        m_posters->dropIncoming();
        progressWindow->hideAnalyzingProgress();
        refusal(m_window.get());
        return;
    }
    startIncoming(probe);
}

void AppDelegate::startIncoming(const FileProbe &probe)
{
    m_incomingProbe = probe;
    const PosterPlan::Video video = videoOf(probe);
    m_posters->startIncoming(video, PosterPlan::posterSize(video.shown, pictureBound()), m_scratch->framesDirectory());
}

PosterPlan::Video AppDelegate::videoOf(const FileProbe &probe)
{
    const QSize frame(int(*probe.videoWidth()), int(*probe.videoHeight()));
    return { probe.fileFullPath().value_or(QString()),
             probe.videoStreamIndex(),
             probe.formatName(),
             probe.videoDuration(),
             probe.videoFrameRate(),
             frame,
             CropGeometry::displaySize(frame.width(), frame.height(), probe.sampleAspect()),
             probe.startTime(),
             probe.rotation() };
}

QSize AppDelegate::pictureBound() const
{
    // No picture larger than the screen can show.
    const QScreen *screen = m_window->screen();
    return screen ? screen->size() * screen->devicePixelRatio() : QSize();
}

void AppDelegate::adoptIncoming()
{
    resetControls();
    globalFP = std::exchange(m_incomingProbe, std::nullopt);
    const QString path = globalFP->fileFullPath().value_or(QString());
    m_chooser->add(path);
    m_videoInfoWindow->follow(*globalFP);
}

void AppDelegate::posterMade(int)
{
    // The window is the user's as soon as there is a picture to place the selection on.
    if (!m_ui->cropVideoBTN->isEnabled()) {
        progressWindow->hideAnalyzingProgress();
        const PosterPlan::Video video = videoOf(*globalFP);
        m_browser->setVideo(video, PosterPlan::posterSize(video.shown, pictureBound()), m_scratch->framesDirectory());
        enableControls();
        m_panel->setVideo(globalFP->videoWidth().value_or(0), globalFP->videoHeight().value_or(0),
                          globalFP->sampleAspect());
        const double frameRate = globalFP->videoFrameRate() > 0 ? globalFP->videoFrameRate() : 25;
        m_ui->trimBar->setVideo(globalFP->videoDuration(), 1 / frameRate);
        m_timeline->reset(video.shown);
        m_window->setWindowTitle(QFileInfo(globalFP->fileFullPath().value_or(QString())).fileName());
    } else {
        m_browser->posterMade();
    }
}

void AppDelegate::postersFailed(const QString &reason, bool timedOut)
{
    // Only a new file fails, before its first poster; the shown video stays.
    // A video stream with no picture gives way to the next that has one, as players do.
    if (const auto next = m_incomingProbe && !timedOut ? m_incomingProbe->nextVideoStream() : std::nullopt)
        return startIncoming(*next);
    progressWindow->hideAnalyzingProgress();
    m_incomingProbe.reset();
    if (timedOut)
        Alerts::picturesTimedOut(m_window.get(), PosterJob::timeoutMs / 1000);
    else
        Alerts::undecodableVideo(m_window.get(), reason);
}

void AppDelegate::postersFinished()
{
    // Borders and motion are looked for across all eleven.
    m_ui->detectBordersBTN->setEnabled(true);
    m_ui->motionMapBTN->setEnabled(true);
    m_panel->setPosters(m_posters->framePaths(), m_posters->pictureTimes());
    m_browser->settle();
}

void AppDelegate::cropVideoBTNClicked()
{
    if (!globalFP || m_cropRoad->isRunning())
        return;
    m_cropRoad->begin(*globalFP, [this](CropRequest &request, OutputSettings &settings) {
        settings = m_outputSettingsWindow->outputSettings();
        request.crop = m_panel->storedCrop();
        for (const CropKeyframe &key : m_timeline->keyframes())
            request.keyframes << CropKeyframe { key.time, m_panel->storedCropOf(key.crop) };
        if (!request.keyframes.isEmpty())
            request.crop = request.keyframes.first().crop;
        request.scalePercent = scaleFactorWindow->percent();
        const QSize shown = scaleFactorWindow->scaledOutputSize();
        request.scaledSize = QSize(CropGeometry::storedWidth(shown.width(), request.sampleAspect), shown.height());
        if (!m_ui->keepRecordingDateBTN->isChecked())
            request.creationTime.clear();
        request.trim = m_ui->trimBar->trim();
    });
}

QString AppDelegate::instantRefusal() const
{
    if (!globalFP)
        return {};
    const QSize frame(int(globalFP->videoWidth().value_or(0)), int(globalFP->videoHeight().value_or(0)));
    if (scaleFactorWindow->percent() != 100)
        return tr("Scaling makes new pictures: set the scale factor to 1.0x.");
    if (m_timeline->keyframes().size() > 1)
        return tr("A crop that moves makes new pictures: clear its keyframes to crop without re-encoding.");
    if (globalFP->isInterlaced())
        return tr("The video is interlaced: Tessaly makes its pictures progressive, which makes new pictures.");
    if (globalFP->rotation() % 360 != 0 || !globalFP->sampleAspect().isSquare())
        return tr("The video is turned or its pixels are not square: only an upright picture of square pixels is "
                  "cropped without re-encoding.");
    if (!InstantCrop::cropsInHeader(globalFP->videoCodec()) && m_panel->storedCrop() != QRect(QPoint(), frame))
        return tr("Only H.264 and HEVC carry a cropping window; a %1 video can only be trimmed without re-encoding.")
            .arg(globalFP->videoCodec());
    return {};
}

void AppDelegate::updateInstant()
{
    const QString refusal = instantRefusal();
    m_ui->cropInstantBTN->setEnabled(globalFP && m_ui->cropVideoBTN->isEnabled() && refusal.isEmpty());
    m_ui->cropInstantBTN->setToolTip(
        refusal.isEmpty() ? tr("Copy every picture, cropped in the stream's header: an hour in seconds, without "
                               "losing a bit")
                          : refusal);
}

void AppDelegate::cropInstantBTNClicked()
{
    if (!globalFP || m_cropRoad->isRunning() || !m_ui->cropInstantBTN->isEnabled() || m_keyframes.isRunning())
        return;
    // The selection moves where every player shows it exactly, before the save panel, and the status bar says why.
    const QSize frame(int(*globalFP->videoWidth()), int(*globalFP->videoHeight()));
    const QRect wanted = m_panel->storedCrop();
    const QRect snapped = InstantCrop::cropsInHeader(globalFP->videoCodec())
        ? InstantCrop::snapped(wanted, frame, globalFP->pictureColour())
        : wanted;
    m_pendingInstantNote.clear();
    if (snapped != wanted) {
        m_panel->setStoredCrop(snapped);
        m_pendingInstantNote << tr("the crop to %1 x %2 at %3, %4, where every player shows it exactly (its left "
                                   "edge on a multiple of 64 pixels)")
                                    .arg(snapped.width())
                                    .arg(snapped.height())
                                    .arg(snapped.x())
                                    .arg(snapped.y());
    }
    const auto trim = m_ui->trimBar->trim();
    if (!trim)
        return beginInstant(std::nullopt, m_pendingInstantNote);
    m_keyframesFrom = std::max(0.0, trim->start - 60);
    listKeyframes();
}

void AppDelegate::listKeyframes()
{
    const QString path = *globalFP->fileFullPath();
    m_keyframes.start(path, InstantCrop::keyframeListing(path, globalFP->videoStreamIndex().value_or(0),
                                                         globalFP->formatName(), globalFP->startTime(),
                                                         m_keyframesFrom, m_ui->trimBar->trim()->start));
}

void AppDelegate::beginInstant(std::optional<double> start, QStringList said)
{
    if (start)
        m_ui->trimBar->setStart(*start);
    if (!said.isEmpty())
        m_window->statusBar()->showMessage(tr("Without re-encoding: moved %1.").arg(said.join(tr("; "))), 15'000);
    m_cropRoad->begin(*globalFP, [this](CropRequest &request, OutputSettings &settings) {
        settings = m_outputSettingsWindow->outputSettings();
        request.crop = m_panel->storedCrop();
        if (!m_ui->keepRecordingDateBTN->isChecked())
            request.creationTime.clear();
        request.trim = m_ui->trimBar->trim();
    }, true);
}

void AppDelegate::followMotion()
{
    if (!globalFP || isBusy() || !m_ui->followMotionBTN->isEnabled())
        return;
    progressWindow->showFollowingProgress();
    m_follow->start(videoOf(*globalFP), m_panel->croppedSize());
}

void AppDelegate::closeBTNInsideProgressWindowClicked()
{
    if (m_follow->isRunning()) {
        m_follow->cancel();
        progressWindow->hideCroppingProgress();
        return;
    }
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
