#pragma once

class QAction;
class QByteArray;
class QMainWindow;

namespace Ui {
class MainWindow;
}

// What the main window needs beyond its .ui file.
namespace WindowDressing {

// Puts the poster slider and its time in the toolbar, gives the actions icons
// that follow the desktop's theme and the platform's standard shortcuts.
// Returns the toolbar's action that holds the slider.
QAction *dress(Ui::MainWindow &ui, QMainWindow &window);
// Where the user left the window (savedGeometry); else a first size that fits
// the screen, at any scaling, centred on it.
void place(QMainWindow &window, const QByteArray &savedGeometry);

} // namespace WindowDressing
