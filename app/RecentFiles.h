#pragma once

#include <QObject>

class QMenu;
class QSettings;

// File ▸ Open Recent: the videos opened last, newest first, kept in the
// settings across launches.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int limit = 10;

    RecentFiles(QMenu *menu, QSettings *settings, QObject *parent = nullptr);

    // path opened: first in the menu.
    void add(const QString &path);
    QStringList files() const;

Q_SIGNALS:
    void chosen(const QString &path);

private:
    // The menu as the files are now: those moved or deleted since are left out.
    void fill();

    QMenu *m_menu;
    QSettings *m_settings;
};
