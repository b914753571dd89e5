#pragma once

#include "crop/EncoderOutput.h"
#include "ui_ProgressSheet.h"

#include <QDialog>

// The progress sheet over the main window, for the analysis of a video and
// for the crop, both of which it can cancel.
class ProgressSheet : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressSheet(QWidget *window);

    void showAnalyzingProgress();
    void hideAnalyzingProgress();
    void showCroppingProgress();
    void showFollowingProgress();
    void hideCroppingProgress();
    // Percent of 0 ... 100.
    void setProgress(double percent);
    // A crop's progress: the percent, and, once known, its speed, the time left and the size it heads for.
    void setProgress(const ProgressFigures &progress);
    // "2.4× real time · about 1 min 20 s left · about 25 MB".
    static QString detailText(const ProgressFigures &progress);
    // The crop has made no progress for stalledSeconds (0: it moves again).
    void setStalled(int stalledSeconds);

    QLabel *progressTitle() const { return m_ui.progressTitle; }
    QProgressBar *progressBar() const { return m_ui.progressBar; }
    QPushButton *progressCancel() const { return m_ui.progressCancel; }

Q_SIGNALS:
    // The cancel button, Escape or closing the sheet.
    void cancelRequested();

protected:
    void reject() override;

private:
    // Shown over the window, empty, with Cancel.
    void begin(const QString &title, const QString &detail);

    Ui::ProgressSheet m_ui;
};
