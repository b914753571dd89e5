#pragma once

#include "ui_VideoInfoWindow.h"

#include <QDialog>

class FileProbe;

// What the probe found in the open file: a summary, the tracks as a table and
// the metadata rows below; where a user checks the frame rate, the codecs,
// the audio channels and the rotation before cropping.
class VideoInfoWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit VideoInfoWindow(QWidget *window);

    void showVideo(const FileProbe &probe);

private:
    Ui::VideoInfoWindow m_ui;
};
