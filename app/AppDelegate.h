#pragma once

#include "crop/CropJob.h"
#include "crop/FollowJob.h"
#include "crop/PosterPlan.h"
#include "crop/ScratchDirectory.h"
#include "media/FileProbe.h"
#include "media/ProbeJob.h"

#include <QObject>
#include <QUrl>

#include <memory>
#include <optional>

class ProgressSheet;
class QAction;
class QMainWindow;
class ScaleFactorWindow;
class OutputSettingsWindow;
class CropRoad;
class CropTimeline;
class FollowJob;
class PosterBrowser;
class PosterStrip;
class QSettings;
class FileChooser;
class SelectionPanel;
class VideoInfoWindow;

namespace Ui {
class MainWindow;
}

// The one controller: carries a video from opening to the cropped result.
// It owns the window and the jobs, and turns the controls' actions into the
// empty, analyzing, loaded and cropping states. The selection and its
// controls are the selection panel's.
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
    // Where the crop notes its temporary outputs, for a later launch to clear should this one die.
    QString outputRecordsFolder() const;

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // A file handed over by the desktop or the command line, taken as a drop.
    void openFile(const QString &pathOrUrl);

    const std::optional<FileProbe> &openVideo() const { return globalFP; }

private:
    void connectActions();

    // Intake and states.
    void resetControls();
    void enableControls();
    void analyzeVideoFile(const QUrl &url);
    void probeFinished(const FileProbe &probe);
    void posterMade(int index);
    void postersFinished();
    void postersFailed(const QString &reason, bool timedOut);
    // Starts a new file's posters beside the shown video's.
    void startIncoming(const FileProbe &probe);
    static PosterPlan::Video videoOf(const FileProbe &probe);
    // The largest picture worth decoding: the screen's.
    QSize pictureBound() const;
    // The new file replaces the shown video, at its first poster.
    void adoptIncoming();
    bool isBusy() const;

    void cropVideoBTNClicked();
    // Why the crop cannot be made without re-encoding; empty when it can.
    QString instantRefusal() const;
    void updateInstant();
    void cropInstantBTNClicked();
    // Crops without re-encoding, the trim's start at start; said: what moved, for the status bar.
    void listKeyframes();
    void beginInstant(std::optional<double> start, QStringList said);
    // Keyframes for the selection's size that keep what moves inside it.
    void followMotion();
    void closeBTNInsideProgressWindowClicked();

    const Tools m_tools;
    const QString m_scratchBase;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QMainWindow> m_window;
    std::unique_ptr<Ui::MainWindow> m_ui;
    SelectionPanel *m_panel = nullptr;
    ProgressSheet *progressWindow = nullptr;
    ScaleFactorWindow *scaleFactorWindow = nullptr;
    OutputSettingsWindow *m_outputSettingsWindow = nullptr;
    VideoInfoWindow *m_videoInfoWindow = nullptr;

    std::optional<FileProbe> globalFP; // the video shown
    std::unique_ptr<ScratchDirectory> m_scratch;
    std::unique_ptr<ScratchDirectory> m_outputRecords; // in the state folder

    ProbeJob m_probeJob;
    ProbeTool m_keyframes; // around the trim's start, for a crop without re-encoding
    double m_keyframesFrom = 0; // where the listing starts, a minute before Start at first
    QStringList m_pendingInstantNote; // what moved of the selection, said once Start has moved too
    PosterStrip *m_posters = nullptr;
    PosterBrowser *m_browser = nullptr;
    CropTimeline *m_timeline = nullptr;
    FollowJob *m_follow = nullptr;
    std::optional<FileProbe> m_incomingProbe; // a new file's, until its first poster
    CropRoad *m_cropRoad = nullptr;
    FileChooser *m_chooser = nullptr;
};
