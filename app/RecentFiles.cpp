#include "RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString key = u"recentFiles"_s;

} // namespace

RecentFiles::RecentFiles(QMenu *menu, QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_settings(settings)
{
    connect(m_menu, &QMenu::aboutToShow, this, &RecentFiles::fill);
    fill();
}

QStringList RecentFiles::files() const
{
    QStringList existing;
    for (const QString &path : m_settings->value(key).toStringList()) {
        if (QFileInfo(path).isFile())
            existing << path;
    }
    return existing;
}

void RecentFiles::add(const QString &path)
{
    QStringList paths = m_settings->value(key).toStringList();
    paths.removeAll(path);
    paths.prepend(path);
    m_settings->setValue(key, QStringList(paths.mid(0, limit)));
    fill();
}

void RecentFiles::fill()
{
    m_menu->clear();
    const QStringList paths = files();
    for (const QString &path : paths) {
        // The name first, the folder after it, as file managers show a path.
        const QFileInfo file(path);
        QAction *action = m_menu->addAction(tr("%1 — %2").arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
        connect(action, &QAction::triggered, this, [this, path] { Q_EMIT chosen(path); });
    }
    m_menu->addSeparator();
    QAction *clear = m_menu->addAction(tr("Clear Menu"));
    clear->setEnabled(!paths.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        m_settings->remove(key);
        fill();
    });
    m_menu->menuAction()->setEnabled(!paths.isEmpty());
}
