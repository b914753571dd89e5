// Peak memory with a 4K video loaded: the parent makes the video and starts
// this program again as a child that loads it in Tessaly's window and reports
// its own peak resident set.
#include "AppDelegate.h"
#include "BenchSupport.h"
#include "support/Fixtures.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

double peakResidentMegabytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

int child(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppDelegate delegate;
    delegate.window()->resize(1280, 800);
    delegate.applicationDidFinishLaunching();
    delegate.openFile(QString::fromLocal8Bit(argv[2]));
    auto *crop = delegate.window()->findChild<QAction *>(u"cropVideoBTN"_s);
    if (!QTest::qWaitFor([&] { return crop->isEnabled(); }, 120'000))
        return 1;
    // Every poster shown once, as a user stepping through them.
    delegate.window()->findChild<QSlider *>(u"posterPositionSlider"_s)->setValue(0);
    for (int n = 1; n <= 11; ++n) {
        QTest::keyClick(delegate.window(), Qt::Key_Period);
        delegate.window()->repaint();
        QTest::qWait(20);
    }
    std::printf("%f\n", peakResidentMegabytes());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString movie = Fixtures::makeVideo(dir.path(), u"4k.mp4"_s, { 3840, 2160, 2.0 });
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start(QCoreApplication::applicationFilePath(), { u"--child"_s, movie });
    run.waitForFinished(300'000);
    Bench::report("peak_rss_mb", run.readAllStandardOutput().trimmed().toDouble(), "MB");
    return run.exitCode();
}
