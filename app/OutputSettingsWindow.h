#pragma once

#include "crop/OutputSettings.h"
#include "ui_OutputSettingsWindow.h"

#include <QDialog>

class QSettings;

// How the crop is written: the video codec, the quality, the speed, the
// sound, and whether subtitles and chapters are kept. What the user sets is
// remembered in settings.
class OutputSettingsWindow final : public QDialog
{
    Q_OBJECT

public:
    OutputSettingsWindow(QWidget *window, QSettings *settings);

    OutputSettings outputSettings() const;
    // The name of a quality mark, 0 ... 4.
    static QString qualityName(int mark);

private:
    void save();

    Ui::OutputSettingsWindow m_ui;
    QSettings *m_settings;
};
