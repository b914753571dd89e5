#pragma once

#include "crop/CropJob.h"
#include "crop/PosterExtractor.h"
#include "crop/ScratchDirectory.h"
#include "media/FileProbe.h"
#include "media/ProbeJob.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>
#include <optional>

class ImageDropView;
class ProgressSheet;
class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QSlider;
class SelectionRectangle;

// The one controller: carries a video from opening to the cropped result.
// It owns the window and the jobs, holds the controls weakly, and turns the
// controls' actions into the empty, analyzing, loaded and cropping states.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    // The two tools; the bundled ones unless a test says otherwise.
    struct Tools
    {
        QString probe;
        QString encoder;
        static Tools bundled();
    };

    // scratchBase: where the scratch folder goes; the temporary location by default.
    explicit AppDelegate(const Tools &tools = Tools::bundled(), const QString &scratchBase = QString(),
                         QObject *parent = nullptr);
    ~AppDelegate() override;

    QMainWindow *window() const;

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // A file handed over by the desktop or the command line, taken as a drop.
    void openFile(const QString &pathOrUrl);

    const std::optional<FileProbe> &openVideo() const { return globalFP; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectActions();

    // Intake and states.
    void resetControls();
    void enableControls();
    void showOpenPanel();
    void fileAddedByDragAndDrop(const QUrl &url);
    void analyzeVideoFile(const QUrl &url);
    void probeFinished(const FileProbe &probe);
    void posterFrameMade(int n, int progress);
    void postersFinished();
    bool isBusy() const;

    // Posters.
    void posterPositionSliderChanged();
    void showPosterFrame();

    // Selection geometry, presets and scale factor.
    void layoutSelectionHolder();
    double displayScale() const;
    QSize croppedSize() const;
    QString cropFilterText() const;
    void updateCroppedLabel();
    void fillAspectRatioPopUp();
    void fillPresetPopUp();
    void placeSelectionRectangle();
    void wideTallBTNClicked();
    void aspectRatioPopUpBTNChanged();
    void presetPopUpBTNChanged();
    void proportionalCBXClicked();
    void activityInSelectionRectangle();
    QSize scaledOutputSize() const;
    void updateScaleFactorLabels();
    void resetScaleFactor();
    void scaleFactorBTNClicked();
    void closeBTNInsideScaleFactorWindowClicked();

    // The crop and its dialogs.
    void cropVideoBTNClicked();
    void checkOutputAndCrop(const QString &outputPath);
    void closeBTNInsideProgressWindowClicked();
    void cropFinished(const FileProbe &output);
    void cropFailed(const QString &reason);
    void handleResultButton(int response, const FileProbe &output);
    void helpBTNClicked();

    qint64 videoWidth() const;
    qint64 videoHeight() const;

    const Tools m_tools;
    const QString m_scratchBase;
    std::unique_ptr<QMainWindow> m_window;

    QPointer<QWidget> selectionRectangleHolder;
    QPointer<SelectionRectangle> selectionRectangle;
    QPointer<ImageDropView> posterView;
    QPointer<QSlider> posterPositionSlider;
    QPointer<QAction> posterPositionSliderTBI;
    QPointer<QAction> openBTN;
    QPointer<QAction> cropVideoBTN;
    QPointer<QAction> helpBTN;
    QPointer<QAction> quitBTN;
    QPointer<ProgressSheet> progressWindow;
    QPointer<QLabel> inputResolutionTF;
    QPointer<QPushButton> wideTallBTN;
    QPointer<QComboBox> aspectRationPopUpBTN;
    QPointer<QCheckBox> proportionalCBX;
    QPointer<QComboBox> presetPopUpBTN;
    QPointer<QLabel> outputResolutionTF;
    QPointer<QAction> scaleFactorBTN;
    QPointer<QDialog> scaleFactorWindow;
    QPointer<QSlider> scaleFactorSlider;
    QPointer<QLabel> scaleFactorLBL;
    QPointer<QLabel> scaleFactorInputLBL;
    QPointer<QLabel> scaleFactorOutputLBL;

    std::optional<FileProbe> globalFP;
    std::unique_ptr<ScratchDirectory> m_scratch;
    ProbeJob m_probeJob;
    PosterExtractor m_posterExtractor;
    CropJob m_cropJob;
    double m_layoutScale = 0; // the display scale the holder was last laid out with; 0 while empty
};
