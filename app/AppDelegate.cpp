#include "AppDelegate.h"

#include "Alerts.h"
#include "DesktopIntegration.h"
#include "ImageDropView.h"
#include "ProgressSheet.h"
#include "SelectionRectangle.h"
#include "ViewStyling.h"
#include "crop/CropArguments.h"
#include "selection/CropPresets.h"
#include "selection/CropGeometry.h"
#include "selection/ScaleFactor.h"
#include "ui_MainWindow.h"
#include "ui_ScaleFactorWindow.h"
#include "util/Resources.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
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
    , m_window(std::make_unique<QMainWindow>())
    , m_posterExtractor(tools.encoder)
    , m_cropJob(tools.encoder, tools.probe)
{
    Ui::MainWindow ui;
    ui.setupUi(m_window.get());
    selectionRectangleHolder = ui.selectionRectangleHolder;
    selectionRectangle = ui.selectionRectangle;
    posterView = ui.posterView;
    posterPositionSlider = ui.posterPositionSlider;
    posterPositionSliderTBI = ui.toolBar->insertWidget(ui.actionScaleFactor, ui.posterPositionSlider);
    ui.toolBar->insertSeparator(ui.actionScaleFactor);
    openBTN = ui.actionOpen;
    cropVideoBTN = ui.actionCrop;
    scaleFactorBTN = ui.actionScaleFactor;
    helpBTN = ui.actionHelp;
    quitBTN = ui.actionQuit;
    inputResolutionTF = ui.inputResolutionTF;
    wideTallBTN = ui.wideTallBTN;
    aspectRationPopUpBTN = ui.aspectRationPopUpBTN;
    proportionalCBX = ui.proportionalCBX;
    presetPopUpBTN = ui.presetPopUpBTN;
    outputResolutionTF = ui.outputResolutionTF;

    const QStyle *style = m_window->style();
    openBTN->setIcon(QIcon::fromTheme(u"document-open"_s, style->standardIcon(QStyle::SP_DialogOpenButton)));
    cropVideoBTN->setIcon(QIcon::fromTheme(u"transform-crop"_s, style->standardIcon(QStyle::SP_DialogSaveButton)));
    scaleFactorBTN->setIcon(QIcon::fromTheme(u"zoom-fit-best"_s, style->standardIcon(QStyle::SP_TitleBarMaxButton)));
    helpBTN->setIcon(QIcon::fromTheme(u"help-about"_s, style->standardIcon(QStyle::SP_MessageBoxQuestion)));
    openBTN->setShortcut(QKeySequence::Open);
    cropVideoBTN->setShortcut(QKeySequence::Save);
    quitBTN->setShortcut(QKeySequence::Quit);
    helpBTN->setShortcut(QKeySequence::HelpContents);
    ViewStyling::adoptDynamicProperties(m_window.get());

    progressWindow = new ProgressSheet(m_window.get());

    scaleFactorWindow = new QDialog(m_window.get());
    Ui::ScaleFactorWindow scaleUi;
    scaleUi.setupUi(scaleFactorWindow);
    scaleFactorSlider = scaleUi.scaleFactorSlider;
    scaleFactorLBL = scaleUi.scaleFactorLBL;
    scaleFactorInputLBL = scaleUi.scaleFactorInputLBL;
    scaleFactorOutputLBL = scaleUi.scaleFactorOutputLBL;
    connect(scaleUi.closeButton, &QPushButton::clicked, this, &AppDelegate::closeBTNInsideScaleFactorWindowClicked);

    posterView->installEventFilter(this);
    connectActions();
}

AppDelegate::~AppDelegate()
{
    applicationWillTerminate();
    // The window goes while this object is whole, and without reporting its resizes to it.
    if (posterView)
        posterView->removeEventFilter(this);
    m_window.reset();
}

QMainWindow *AppDelegate::window() const
{
    return m_window.get();
}

void AppDelegate::connectActions()
{
    connect(openBTN, &QAction::triggered, this, &AppDelegate::showOpenPanel);
    connect(cropVideoBTN, &QAction::triggered, this, &AppDelegate::cropVideoBTNClicked);
    connect(scaleFactorBTN, &QAction::triggered, this, &AppDelegate::scaleFactorBTNClicked);
    connect(helpBTN, &QAction::triggered, this, &AppDelegate::helpBTNClicked);
    connect(quitBTN, &QAction::triggered, m_window.get(), &QWidget::close);
    connect(posterPositionSlider, &QSlider::valueChanged, this, &AppDelegate::posterPositionSliderChanged);
    connect(wideTallBTN, &QPushButton::clicked, this, &AppDelegate::wideTallBTNClicked);
    connect(aspectRationPopUpBTN, &QComboBox::activated, this, &AppDelegate::aspectRatioPopUpBTNChanged);
    connect(presetPopUpBTN, &QComboBox::activated, this, &AppDelegate::presetPopUpBTNChanged);
    connect(proportionalCBX, &QCheckBox::clicked, this, &AppDelegate::proportionalCBXClicked);
    connect(scaleFactorSlider, &QSlider::valueChanged, this, &AppDelegate::updateScaleFactorLabels);
    connect(progressWindow, &ProgressSheet::cancelRequested, this,
            &AppDelegate::closeBTNInsideProgressWindowClicked);

    connect(selectionRectangle, &SelectionRectangle::activityInSelectionRectangle, this,
            &AppDelegate::activityInSelectionRectangle);
    connect(posterView, &ImageDropView::fileAddedByDragAndDrop, this, &AppDelegate::fileAddedByDragAndDrop);

    connect(&m_probeJob, &ProbeJob::finished, this, &AppDelegate::probeFinished);
    connect(&m_posterExtractor, &PosterExtractor::frameMade, this, &AppDelegate::posterFrameMade);
    connect(&m_posterExtractor, &PosterExtractor::finished, this, &AppDelegate::postersFinished);
    connect(&m_cropJob, &CropJob::progressChanged, progressWindow, &ProgressSheet::setProgress);
    connect(&m_cropJob, &CropJob::succeeded, this, &AppDelegate::cropFinished);
    connect(&m_cropJob, &CropJob::failed, this, &AppDelegate::cropFailed);
    connect(&m_cropJob, &CropJob::cancelled, progressWindow, &ProgressSheet::hideCroppingProgress);
}

void AppDelegate::applicationDidFinishLaunching()
{
    // A fresh private scratch folder; folders of crashed instances go.
    m_scratch = std::make_unique<ScratchDirectory>(m_scratchBase);
    resetControls();
    m_window->show();
}

void AppDelegate::applicationWillTerminate()
{
    m_probeJob.cancel();
    m_posterExtractor.cancel();
    if (m_scratch)
        m_scratch->removeScratchDirectory();
}

void AppDelegate::openFile(const QString &pathOrUrl)
{
    fileAddedByDragAndDrop(QUrl::fromUserInput(pathOrUrl, QDir::currentPath(), QUrl::AssumeLocalFile));
}

bool AppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    // The holder follows the poster view, and the selection keeps its video pixels.
    if (watched == posterView && event->type() == QEvent::Resize && m_layoutScale > 0) {
        const QRectF frame = selectionRectangle->selectionFrame();
        const double oldScale = m_layoutScale;
        layoutSelectionHolder();
        const double factor = m_layoutScale / oldScale;
        selectionRectangle->setSelectionFrame(
            QRectF(frame.x() * factor, frame.y() * factor, frame.width() * factor, frame.height() * factor));
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- intake and states

void AppDelegate::resetControls()
{
    cropVideoBTN->setEnabled(false);
    posterPositionSliderTBI->setEnabled(false);
    posterPositionSlider->setEnabled(false);
    posterPositionSlider->setValue(6);
    selectionRectangleHolder->hide();
    selectionRectangle->hide();
    inputResolutionTF->setText(u"Source: 0 x 0"_s);
    outputResolutionTF->setText(u"Cropped: 0 x 0"_s);
    proportionalCBX->setChecked(true);
    proportionalCBX->setEnabled(false);
    aspectRationPopUpBTN->setEnabled(false);
    presetPopUpBTN->setEnabled(false);
    wideTallBTN->setEnabled(false);
    wideTallBTN->setText(u"Wide"_s);
    scaleFactorBTN->setEnabled(false);
    scaleFactorSlider->setValue(100);
    m_layoutScale = 0;
}

void AppDelegate::enableControls()
{
    cropVideoBTN->setEnabled(true);
    posterPositionSliderTBI->setEnabled(true);
    posterPositionSlider->setEnabled(true);
    posterPositionSlider->setValue(6);
    showPosterFrame();
    selectionRectangleHolder->show();
    selectionRectangle->show();
    inputResolutionTF->setText(u"Source: 0 x 0"_s);
    outputResolutionTF->setText(u"Cropped: 0 x 0"_s);
    proportionalCBX->setChecked(true);
    proportionalCBX->setEnabled(true);
    proportionalCBXClicked();
    aspectRationPopUpBTN->setEnabled(true);
    presetPopUpBTN->setEnabled(true);
    wideTallBTN->setEnabled(true);
    wideTallBTN->setText(u"Wide"_s);
    scaleFactorSlider->setValue(100);
    scaleFactorBTN->setEnabled(true);
}

void AppDelegate::showOpenPanel()
{
    auto *panel = new QFileDialog(m_window.get(), u"Open Video"_s);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setFileMode(QFileDialog::ExistingFile);
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
    return m_probeJob.isRunning() || m_posterExtractor.isRunning() || m_cropJob.isRunning();
}

void AppDelegate::analyzeVideoFile(const QUrl &url)
{
    // The window is blocked by a sheet meanwhile; a file handed over now waits for no one.
    if (isBusy())
        return;
    resetControls();
    // Probing runs in the background under the analyzing sheet, so the window stays alive.
    progressWindow->showAnalyzingProgress();
    m_probeJob.start(url.toLocalFile(), m_tools.probe);
}

void AppDelegate::probeFinished(const FileProbe &probe)
{
    globalFP = probe;
    const QString path = probe.fileFullPath().value_or(QString());
    if (QFileInfo(path).suffix().toLower() == u"vob") {
        progressWindow->hideAnalyzingProgress();
        Alerts::vobRefused(m_window.get());
        return;
    }
    const bool accepted = probe.isValidMediaFile() && !probe.hasErrors() && !probe.isEncrypted()
        && probe.hasVideoTrack() && probe.videoWidth() && probe.videoHeight() && *probe.videoWidth() > 0
        && *probe.videoHeight() > 0;
    if (!accepted) {
        progressWindow->hideAnalyzingProgress();
        Alerts::unsupportedFile(m_window.get());
        return;
    }
    if (!m_scratch || !m_scratch->isValid()) {
        progressWindow->hideAnalyzingProgress();
        Alerts::noScratchFolder(m_window.get());
        return;
    }
    progressWindow->showAnalyzingProgress();
    m_posterExtractor.extractPosterFrames(path, probe.duration(), m_scratch->framesDirectory());
}

void AppDelegate::posterFrameMade(int n, int progress)
{
    posterView->setImagePath(PosterExtractor::framePath(m_scratch->framesDirectory(), n));
    progressWindow->progressBar()->setValue(progress);
}

void AppDelegate::postersFinished()
{
    progressWindow->hideAnalyzingProgress();
    enableControls();
    inputResolutionTF->setText(CropGeometry::sourceLabelText(videoWidth(), videoHeight()));
    wideTallBTN->setChecked(videoHeight() < videoWidth());
    wideTallBTNClicked();
    layoutSelectionHolder();
    fillAspectRatioPopUp();
    fillPresetPopUp();
    placeSelectionRectangle();
    resetScaleFactor();
    updateCroppedLabel();
}

qint64 AppDelegate::videoWidth() const
{
    return globalFP ? globalFP->videoWidth().value_or(0) : 0;
}

qint64 AppDelegate::videoHeight() const
{
    return globalFP ? globalFP->videoHeight().value_or(0) : 0;
}

// ---------------------------------------------------------------- posters

void AppDelegate::posterPositionSliderChanged()
{
    showPosterFrame();
}

void AppDelegate::showPosterFrame()
{
    if (m_scratch)
        posterView->setImagePath(PosterExtractor::framePath(m_scratch->framesDirectory(), posterPositionSlider->value()));
}

// ---------------------------------------------------------------- selection geometry

void AppDelegate::layoutSelectionHolder()
{
    m_layoutScale = displayScale();
    const QRect holder
        = CropGeometry::holderFrame(videoWidth(), videoHeight(), posterView->width(), posterView->height()).toRect();
    selectionRectangleHolder->setGeometry(holder);
    posterView->setPictureRect(holder);
}

double AppDelegate::displayScale() const
{
    return CropGeometry::displayScale(videoWidth(), videoHeight(), posterView->width(), posterView->height());
}

QSize AppDelegate::croppedSize() const
{
    return CropGeometry::croppedSize(selectionRectangle->selectionFrame().size(), displayScale(), videoWidth(),
                                     videoHeight());
}

QString AppDelegate::cropFilterText() const
{
    return CropGeometry::cropFilterText(selectionRectangle->selectionFrame(), displayScale(), videoWidth(),
                                        videoHeight());
}

void AppDelegate::updateCroppedLabel()
{
    outputResolutionTF->setText(CropGeometry::croppedLabelText(croppedSize()));
}

void AppDelegate::fillAspectRatioPopUp()
{
    aspectRationPopUpBTN->clear();
    aspectRationPopUpBTN->addItems(wideTallBTN->isChecked() ? CropPresets::wideRatios()
                                                            : CropPresets::tallRatios());
    aspectRationPopUpBTN->setCurrentIndex(0);
}

void AppDelegate::fillPresetPopUp()
{
    presetPopUpBTN->clear();
    presetPopUpBTN->addItems(
        CropPresets::presetTitles(videoWidth(), videoHeight(), aspectRationPopUpBTN->currentText()));
    presetPopUpBTN->setCurrentIndex(presetPopUpBTN->count() > 0 ? 0 : -1);
}

void AppDelegate::placeSelectionRectangle()
{
    const auto preset = presetPopUpBTN->count() > 0 ? std::optional(presetPopUpBTN->currentText()) : std::nullopt;
    selectionRectangle->setSelectionFrame(
        CropPresets::placeSelection(preset, videoWidth(), videoHeight(), displayScale()));
}

void AppDelegate::wideTallBTNClicked()
{
    wideTallBTN->setText(wideTallBTN->isChecked() ? u"Wide"_s : u"Tall"_s);
    fillAspectRatioPopUp();
    fillPresetPopUp();
    placeSelectionRectangle();
    updateCroppedLabel();
    resetScaleFactor();
}

void AppDelegate::aspectRatioPopUpBTNChanged()
{
    fillPresetPopUp();
    placeSelectionRectangle();
    updateCroppedLabel();
    resetScaleFactor();
}

void AppDelegate::presetPopUpBTNChanged()
{
    placeSelectionRectangle();
    updateCroppedLabel();
    resetScaleFactor();
}

void AppDelegate::proportionalCBXClicked()
{
    // Ticked means free resizing; unticked keeps the aspect ratio.
    selectionRectangle->setProportional(!proportionalCBX->isChecked());
    resetScaleFactor();
}

void AppDelegate::activityInSelectionRectangle()
{
    updateCroppedLabel();
    resetScaleFactor();
}

// ---------------------------------------------------------------- scale factor

QSize AppDelegate::scaledOutputSize() const
{
    return ScaleFactor::scaledOutputSize(croppedSize(), scaleFactorSlider->value());
}

void AppDelegate::updateScaleFactorLabels()
{
    const double percent = scaleFactorSlider->value();
    scaleFactorInputLBL->setText(ScaleFactor::inputLabelText(croppedSize()));
    scaleFactorLBL->setText(ScaleFactor::factorLabelText(percent));
    scaleFactorOutputLBL->setText(ScaleFactor::outputLabelText(scaledOutputSize()));
}

void AppDelegate::resetScaleFactor()
{
    scaleFactorSlider->setValue(100);
    updateScaleFactorLabels();
}

void AppDelegate::scaleFactorBTNClicked()
{
    scaleFactorWindow->open();
}

void AppDelegate::closeBTNInsideScaleFactorWindowClicked()
{
    scaleFactorWindow->accept();
}

// ---------------------------------------------------------------- the crop

void AppDelegate::cropVideoBTNClicked()
{
    if (!globalFP || m_cropJob.isRunning())
        return;
    auto *panel = new QFileDialog(m_window.get(), u"Save Cropped Video"_s);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setNameFilter(u"MPEG-4 Video (*.mp4)"_s);
    panel->setDefaultSuffix(u"mp4"_s);
    panel->setDirectory(QFileInfo(globalFP->fileFullPath().value_or(QString())).absolutePath());
    panel->selectFile(u"Cropped.mp4"_s);
    connect(panel, &QFileDialog::fileSelected, this, &AppDelegate::checkOutputAndCrop);
    panel->open();
}

void AppDelegate::checkOutputAndCrop(const QString &outputPath)
{
    if (!globalFP || !globalFP->fileFullPath())
        return;
    const QString input = *globalFP->fileFullPath();
    // The output is always an MP4 file, whatever the name typed.
    const QString output = QFileInfo(outputPath).suffix().compare(u"mp4", Qt::CaseInsensitive) == 0
        ? outputPath
        : outputPath + u".mp4"_s;
    if (output == input) {
        Alerts::sameName(m_window.get());
        return;
    }
    const QStringList arguments = buildCropArguments(*globalFP, input, output, scaleFactorSlider->value(),
                                                     cropFilterText(), scaledOutputSize());
    if (m_cropJob.runCropProcess(output, arguments, globalFP->duration()))
        progressWindow->showCroppingProgress();
}

void AppDelegate::closeBTNInsideProgressWindowClicked()
{
    m_cropJob.cancel();
}

void AppDelegate::cropFinished(const FileProbe &output)
{
    progressWindow->hideCroppingProgress();
    QMessageBox *alert = Alerts::cropResult(m_window.get(), *globalFP, output);
    connect(alert, &QMessageBox::buttonClicked, this,
            [this, output](QAbstractButton *button) { handleResultButton(Alerts::responseOf(button), output); });
}

void AppDelegate::cropFailed(const QString &reason)
{
    progressWindow->hideCroppingProgress();
    Alerts::cropFailed(m_window.get(), reason);
}

void AppDelegate::handleResultButton(int response, const FileProbe &output)
{
    const QUrl url = output.fileFullURL().value_or(QUrl());
    if (response == Alerts::play)
        DesktopIntegration::playVideo(url);
    else if (response == Alerts::reveal)
        DesktopIntegration::revealInFileManager(url);
}

void AppDelegate::helpBTNClicked()
{
    Alerts::help(m_window.get());
}
