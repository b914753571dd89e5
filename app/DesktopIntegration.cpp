#include "DesktopIntegration.h"

#include <QCoreApplication>

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

using namespace Qt::StringLiterals;

namespace DesktopIntegration {

namespace {

void openFolderOf(const QUrl &file)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file.toLocalFile()).absolutePath()));
}

} // namespace

#ifdef Q_OS_MACOS

QString revealButtonTitle()
{
    return QCoreApplication::translate("DesktopIntegration", "Show in Finder");
}

QString playButtonTitle()
{
    return QCoreApplication::translate("DesktopIntegration", "Launch Video in QuickTime");
}

void revealInFileManager(const QUrl &file)
{
    QProcess::startDetached(u"/usr/bin/open"_s, { u"-R"_s, file.toLocalFile() });
}

void playVideo(const QUrl &file)
{
    QProcess::startDetached(u"/usr/bin/open"_s, { u"-a"_s, u"QuickTime Player"_s, file.toLocalFile() });
}

#else

QString revealButtonTitle()
{
    return QCoreApplication::translate("DesktopIntegration", "Show in File Manager");
}

QString playButtonTitle()
{
    return QCoreApplication::translate("DesktopIntegration", "Play Video");
}

void revealInFileManager(const QUrl &file)
{
#if defined(Q_OS_UNIX)
    // The freedesktop file-manager interface selects the file; without it, open its folder.
    QDBusMessage call = QDBusMessage::createMethodCall(u"org.freedesktop.FileManager1"_s,
                                                       u"/org/freedesktop/FileManager1"_s,
                                                       u"org.freedesktop.FileManager1"_s, u"ShowItems"_s);
    call << QStringList { file.toString(QUrl::FullyEncoded) } << QString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolderOf(file);
        return;
    }
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [file](QDBusPendingCallWatcher *w) {
        if (w->isError())
            openFolderOf(file);
        w->deleteLater();
    });
#elif defined(Q_OS_WIN)
    QProcess::startDetached(u"explorer.exe"_s, { u"/select,"_s + QDir::toNativeSeparators(file.toLocalFile()) });
#else
    openFolderOf(file);
#endif
}

void playVideo(const QUrl &file)
{
    QDesktopServices::openUrl(file);
}

#endif

} // namespace DesktopIntegration
