#include "FileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString recentKey = u"recentFiles"_s;
const QString folderKey = u"openFolder"_s;

} // namespace

FileChooser::FileChooser(QWidget *window, QMenu *recentMenu, QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_menu(recentMenu)
    , m_settings(settings)
{
    // Filled as it opens: whether the files are still there is asked then, not at start-up or at each open.
    connect(m_menu, &QMenu::aboutToShow, this, &FileChooser::fillRecentMenu);
    m_menu->menuAction()->setEnabled(!m_settings->value(recentKey).toStringList().isEmpty());
}

void FileChooser::showOpenPanel()
{
    auto *panel = new QFileDialog(m_window, tr("Open Video"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setFileMode(QFileDialog::ExistingFile);
    if (const QString folder = m_settings->value(folderKey).toString(); QFileInfo(folder).isDir())
        panel->setDirectory(folder);
    panel->setNameFilters({ tr("Videos (*.mp4 *.m4v *.mov *.mkv *.webm *.avi *.wmv *.flv *.mpg *.mpeg *.m2v *.ts *.mts "
                               "*.m2ts *.3gp *.3g2 *.ogv *.dv *.mxf *.MP4 *.MOV *.MTS *.AVI *.MKV)"),
                            tr("All Files (*)") });
    connect(panel, &QFileDialog::fileSelected, this, &FileChooser::chosen);
    panel->open();
}

QStringList FileChooser::recentFiles() const
{
    QStringList existing;
    for (const QString &path : m_settings->value(recentKey).toStringList()) {
        if (QFileInfo(path).isFile())
            existing << path;
    }
    return existing;
}

void FileChooser::add(const QString &path)
{
    m_settings->setValue(folderKey, QFileInfo(path).absolutePath());
    QStringList paths = m_settings->value(recentKey).toStringList();
    paths.removeAll(path);
    paths.prepend(path);
    m_settings->setValue(recentKey, QStringList(paths.mid(0, recentLimit)));
    m_menu->menuAction()->setEnabled(true);
}

void FileChooser::fillRecentMenu()
{
    // Those moved or deleted since are left out.
    m_menu->clear();
    const QStringList paths = recentFiles();
    for (const QString &path : paths) {
        // The name first, the folder after it, as file managers show a path.
        const QFileInfo file(path);
        QAction *action =
            m_menu->addAction(tr("%1 — %2").arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
        connect(action, &QAction::triggered, this, [this, path] { Q_EMIT chosen(path); });
    }
    m_menu->addSeparator();
    QAction *clear = m_menu->addAction(tr("Clear Menu"));
    connect(clear, &QAction::triggered, this, [this] {
        m_settings->remove(recentKey);
        m_menu->menuAction()->setEnabled(false);
    });
}
