#pragma once

#include "crop/CropJob.h"
#include "media/FileProbe.h"

#include <QObject>

#include <functional>
#include <optional>

class ProgressSheet;
class QSettings;
class QWidget;

// A crop from the user's choice of a name to the alert that reports it: the
// save panel, the checks of the name, the job under the progress sheet, and
// what the result alert's buttons do.
class CropRoad : public QObject
{
    Q_OBJECT

public:
    // Fills in what the user chose for the crop: the rectangle, the scale, the trim, the date, and how it is written.
    using Choices = std::function<void(CropRequest &request, OutputSettings &settings)>;

    // settings: where the folder and the kind of the last crop are kept.
    CropRoad(const QString &encoderPath, const QString &probeToolPath, QWidget *window, ProgressSheet *sheet,
             QSettings *settings, QObject *parent = nullptr);

    void setOutputRecordsFolder(const QString &folder) { m_job.setOutputRecordsFolder(folder); }
    bool isRunning() const { return m_job.isRunning(); }
    void cancel() { m_job.cancel(); }
    // Asks where the crop of input goes, then makes it as the user chose;
    // instant: every picture copied, cropped in its header.
    void begin(const FileProbe &input, Choices choices, bool instant = false);

    // The name chosen in the save panel as it is written: its own extension
    // where that names a container, else the filter's (take.v2 gives take.v2.mp4).
    static QString outputName(const QString &chosen, Container filtered);

private:
    void checkOutput(const QString &chosenPath, Container filtered);
    void run(const QString &output);
    void progressed(const ProgressFigures &progress);
    void ended();
    void finished(const FileProbe &output);
    void failed(const QString &reason);

    QWidget *m_window;
    ProgressSheet *m_sheet;
    QSettings *m_settings;
    CropJob m_job;
    std::optional<FileProbe> m_input;
    Choices m_choices;
    bool m_instant = false;
    QString m_title; // the window's, while the crop's percent stands in it
};
