#include "AppDriver.h"

#include "support/Fixtures.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

AppDriver::AppDriver(const QString &scratchBase, const AppDelegate::Tools &tools)
    : m_delegate(std::make_unique<AppDelegate>(tools, scratchBase))
{
    // Qt's file dialogs remember folders in the user's settings; tests keep theirs apart, and fresh.
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QSettings::UserScope, u"QtProject"_s).remove(u"FileDialog"_s);
    window()->resize(1000, 720);
    m_delegate->applicationDidFinishLaunching();
    activate();
}

bool AppDriver::isLoaded() const
{
    return control<QAction>("cropVideoBTN")->isEnabled() && !isSheetShown();
}

bool AppDriver::isSheetShown() const
{
    return control<QDialog>("ProgressSheet")->isVisible();
}

bool AppDriver::open(const QString &path)
{
    m_delegate->openFile(path);
    const auto settled = [this] { return isLoaded() || waitForAlert(0); };
    const bool loaded = QTest::qWaitFor(settled, 120'000) && isLoaded();
    if (!loaded)
        return false;
    // The window is usable from the first poster on; the tests look at all eleven.
    const bool allPosters = QTest::qWaitFor([this] { return control<QAction>("detectBordersBTN")->isEnabled(); },
                                            120'000);
    activate();
    return allPosters;
}

QMessageBox *AppDriver::waitForAlert(int timeoutMs) const
{
    QMessageBox *alert = nullptr;
    const auto shown = [&] {
        const auto boxes = window()->findChildren<QMessageBox *>();
        alert = boxes.isEmpty() || !boxes.last()->isVisible() ? nullptr : boxes.last();
        return alert != nullptr;
    };
    if (!shown() && timeoutMs > 0)
        (void)QTest::qWaitFor(shown, timeoutMs);
    return alert;
}

void AppDriver::activate()
{
    // Keys, Ctrl+S among them, go to the active window; a sheet closing may leave none active.
    QApplication::setActiveWindow(window());
    (void)QTest::qWaitForWindowActive(window());
}

void AppDriver::cropTo(const QString &path, bool instant)
{
    activate();
    QTest::keyClick(window(), Qt::Key_S, instant ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    QFileDialog *panel = nullptr;
    // Where the copy must start on a keyframe, the panel opens once its time is known.
    (void)QTest::qWaitFor([&] { return (panel = window()->findChild<QFileDialog *>()) != nullptr; },
                          instant ? 10'000 : 0);
    if (!panel)
        return;
    // Replacing an existing file asks first, however long that takes; the answer is yes.
    auto *answer = new QTimer(panel);
    QObject::connect(answer, &QTimer::timeout, panel, [] {
        auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (question && question->button(QMessageBox::Yes))
            question->button(QMessageBox::Yes)->click();
    });
    answer->start(50);
    if (!path.isEmpty())
        panel->selectFile(path);
    QMetaObject::invokeMethod(panel, "accept");
}

QMessageBox *AppDriver::waitForCropEnd(int timeoutMs) const
{
    // An alert over a sheet that stays up would leave the window locked.
    (void)QTest::qWaitFor([this] { return !isSheetShown() || waitForAlert(0); }, timeoutMs);
    QTest::qWait(100);
    return isSheetShown() ? nullptr : waitForAlert(300);
}

QString AppDriver::cropFilterOf(const QString &path)
{
    CapturedStdout out;
    cropTo(path);
    if (!waitForCropEnd())
        return {};
    static const QRegularExpression filter(u"\"(crop=[^\"]+)"_s);
    // What follows the crop and the scale holds the last picture, whatever the crop.
    return filter.match(out.text()).captured(1).section(u",tpad="_s, 0, 0).section(u",trim="_s, 0, 0);
}

QString AppDriver::notEmptyBecause() const
{
    // Actions and widgets alike.
    for (const char *name : { "cropVideoBTN", "scaleFactorBTN", "detectBordersBTN", "videoInfoBTN", "posterPositionSlider",
                              "proportionalCBX", "aspectRationPopUpBTN", "presetPopUpBTN", "wideTallBTN", "endTF" }) {
        if (control<QObject>(name)->property("enabled").toBool())
            return QString::fromLatin1(name) + u" enabled"_s;
    }
    const QList<std::pair<bool, const char *>> checks = {
        { control<QWidget>("selectionRectangleHolder")->isHidden(), "holder shown" },
        { control<QLabel>("inputResolutionTF")->text() == u"Source: 0 x 0", "source label" },
        { control<QSlider>("scaleFactorSlider")->value() == 100, "scale not at 100" },
        { control<QLineEdit>("endTF")->text().isEmpty(), "trim shown" },
        { window()->windowTitle() == u"Tessaly", "window title" },
    };
    for (const auto &[holds, problem] : checks) {
        if (!holds)
            return QString::fromLatin1(problem);
    }
    return {};
}
