#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class FileProbe;
class QMessageBox;
class QObject;
class QUrl;
class QWidget;

// The alerts of the main window, each opened window-modal without blocking,
// deleted when closed.
namespace Alerts {

// Where users write with questions.
inline constexpr char supportAddress[] = "support@tessaly.app";

// The result alert's buttons answer these codes, in the order they are added.
enum Response { ok = 1000, reveal = 1001, play = 1002 };

using Refusal = std::function<QMessageBox *(QWidget *window)>;
// The alert that refuses a file before anything reads it: a path that is no
// regular file this user may read, or no local path at all; nothing when the
// tools may read it.
Refusal refusalOf(const QUrl &url);
// The alert that refuses the probed file, to open over window; nothing when the file is a croppable video.
Refusal refusalOf(const FileProbe &probe);
QMessageBox *vobRefused(QWidget *window);
QMessageBox *unsupportedFile(QWidget *window);
QMessageBox *notFound(QWidget *window, const QString &path);
QMessageBox *noVideo(QWidget *window, const QString &path);
QMessageBox *sameName(QWidget *window);
QMessageBox *cropFailed(QWidget *window, const QString &reason);
QMessageBox *noScratchFolder(QWidget *window);
// Not one picture of the video could be decoded; reason is the encoder's.
QMessageBox *undecodableVideo(QWidget *window, const QString &reason);
// The encoder made no picture within timeoutSeconds.
QMessageBox *picturesTimedOut(QWidget *window, int timeoutSeconds);
// The motion could not be followed; reason is the encoder's.
QMessageBox *followFailed(QWidget *window, const QString &reason);
// Asks before replacing path: "Replace" has the accept role, "Cancel" is the default.
QMessageBox *replaceFile(QWidget *window, const QString &path);
// "Video Cropped Successfully!" with OK, reveal and play buttons, and a line
// for each note; a warning instead when the input could be read only up to
// readableEnd. The caller connects buttonClicked and reads the clicked
// button's response with responseOf().
QMessageBox *cropResult(QWidget *window, const FileProbe &input, const FileProbe &output, const QStringList &notes,
                        std::optional<double> readableEnd);
int responseOf(const QObject *button);

// "Input Resolution: 1920 x 1080 (12.3 MB)\nOutput Resolution: 1280 x 720 (4.5 MB)\nOutput Duration: 00:00:30.000".
QString resultText(const FileProbe &input, const FileProbe &output);

} // namespace Alerts
