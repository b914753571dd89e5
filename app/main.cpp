#include "AppDelegate.h"
#include "SignalQuit.h"

#include <QApplication>
#include <QFileOpenEvent>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QTimer>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// Files the platform hands over after launch (macOS "Open With").
class FileOpenFilter : public QObject
{
public:
    explicit FileOpenFilter(AppDelegate *delegate)
        : m_delegate(delegate)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FileOpen) {
            m_delegate->openFile(static_cast<QFileOpenEvent *>(event)->file());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    AppDelegate *m_delegate;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tessaly"_s);
    QApplication::setApplicationDisplayName(u"Tessaly"_s);
    QApplication::setOrganizationDomain(u"tessaly.app"_s);
    QGuiApplication::setDesktopFileName(u"app.tessaly.Tessaly"_s);
    QApplication::setWindowIcon(QIcon(u":/icons/tessaly.png"_s));
    // The interface in the user's language where there is a translation, Qt's own dialogs too.
    QTranslator qtTranslator, translator;
    if (qtTranslator.load(QLocale(), u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    if (translator.load(QLocale(), u"tessaly"_s, u"_"_s, u":/i18n"_s))
        QApplication::installTranslator(&translator);

    SignalQuit signalQuit;
    AppDelegate delegate;
    FileOpenFilter fileOpen(&delegate);
    app.installEventFilter(&fileOpen);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);
    delegate.applicationDidFinishLaunching();

    // A file given on the command line (the desktop's "Open With") opens as a drop would.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString file = arguments.at(1);
        QTimer::singleShot(0, &delegate, [&delegate, file] { delegate.openFile(file); });
    }
    return app.exec();
}
