#pragma once

#include <QString>
#include <QUrl>

// Showing a file in the platform's file manager and playing it in the
// platform's player, and what the buttons that do so are called.
namespace DesktopIntegration {

QString revealButtonTitle();
QString playButtonTitle();

void revealInFileManager(const QUrl &file);
void playVideo(const QUrl &file);

} // namespace DesktopIntegration
