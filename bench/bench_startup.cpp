// Launch to first painted window: the parent starts this program again as a
// child that brings up Tessaly's window and says when it first painted.
#include "AppDelegate.h"
#include "BenchSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

class FirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::printf("painted\n");
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_seen = false;
};

int child(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppDelegate delegate;
    FirstPaint firstPaint;
    delegate.window()->installEventFilter(&firstPaint);
    delegate.applicationDidFinishLaunching();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    QList<double> times;
    for (int i = 0; i < 15; ++i) {
        QProcess launch;
        launch.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        launch.start(QCoreApplication::applicationFilePath(), { u"--child"_s });
        while (launch.waitForReadyRead(10'000)) {
            if (launch.readAll().contains("painted"))
                break;
        }
        times << timer.nsecsElapsed() / 1e6;
        launch.waitForFinished();
    }
    Bench::report("startup_ms", Bench::median(times), "ms");
    return 0;
}
