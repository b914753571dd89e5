#pragma once

#include "ui_VideoInfoWindow.h"

#include <QDialog>

class FileProbe;

// What the probe found in the open file: a summary (picture, frame rate,
// rotation, pixel shape, fields, colour), the tracks as a table with the one
// that is cropped marked, and the file's own tags; where a user checks the
// video before cropping. Left open, it follows the file opened next.
class VideoInfoWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit VideoInfoWindow(QWidget *window);

    // Fills the window with what probe found and brings it up.
    void showVideo(const FileProbe &probe);
    // Fills it again for another video, where it stands, when it is open.
    void follow(const FileProbe &probe);

private:
    void fill(const FileProbe &probe);

private:
    Ui::VideoInfoWindow m_ui;
};
