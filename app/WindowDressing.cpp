#include "WindowDressing.h"

#include "Icons.h"
#include "ui_MainWindow.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QToolBar>
#include <QScreen>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace WindowDressing {

QAction *dress(Ui::MainWindow &ui, QMainWindow &window)
{
    // The scrubber has a row of its own, the window's whole width: a long video needs every pixel.
    window.addToolBarBreak();
    QToolBar *timeline = window.addToolBar(QCoreApplication::translate("WindowDressing", "Timeline"));
    timeline->setObjectName(u"timelineBar"_s);
    timeline->setMovable(false);
    QAction *slider = timeline->addWidget(ui.posterPositionSlider);
    timeline->addWidget(ui.posterTimeLBL);

    const QStyle *style = window.style();
    ui.openBTN->setIcon(QIcon::fromTheme(u"document-open"_s, style->standardIcon(QStyle::SP_DialogOpenButton)));
    ui.cropVideoBTN->setIcon(Icons::crop());
    ui.scaleFactorBTN->setIcon(Icons::scale());
    ui.outputSettingsBTN->setIcon(
        QIcon::fromTheme(u"document-properties"_s, style->standardIcon(QStyle::SP_FileDialogDetailedView)));
    ui.detectBordersBTN->setIcon(Icons::borders());
    ui.motionMapBTN->setIcon(Icons::motion());
    ui.setKeyframeBTN->setIcon(Icons::keyframe());
    ui.followMotionBTN->setIcon(Icons::follow());
    ui.playBTN->setIcon(QIcon::fromTheme(u"media-playback-start"_s, style->standardIcon(QStyle::SP_MediaPlay)));
    ui.videoInfoBTN->setIcon(
        QIcon::fromTheme(u"dialog-information"_s, style->standardIcon(QStyle::SP_FileDialogInfoView)));
    ui.helpBTN->setIcon(QIcon::fromTheme(u"help-about"_s, style->standardIcon(QStyle::SP_MessageBoxQuestion)));

    ui.openBTN->setShortcut(QKeySequence::Open);
    ui.cropVideoBTN->setShortcut(QKeySequence::Save);
    ui.cropInstantBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ui.quitBTN->setShortcut(QKeySequence::Quit);
    ui.helpBTN->setShortcut(QKeySequence::HelpContents);
    ui.scaleFactorBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    ui.outputSettingsBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ui.detectBordersBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    ui.videoInfoBTN->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    ui.undoBTN->setShortcut(QKeySequence::Undo);
    ui.redoBTN->setShortcuts({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    return slider;
}

void place(QMainWindow &window, const QByteArray &savedGeometry)
{
    if (window.restoreGeometry(savedGeometry))
        return;
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    window.resize(window.size().boundedTo(available.size() * 0.9).expandedTo(window.minimumSizeHint()));
    const QPoint centred = available.center() - window.rect().center();
    window.move(std::max(centred.x(), available.left()), std::max(centred.y(), available.top()));
}

} // namespace WindowDressing
