#pragma once

#include <QObject>

class QMenu;
class QSettings;
class QWidget;

// How the user picks a video: File ▸ Open…, whose panel opens in the folder of
// the last video, and File ▸ Open Recent, the videos opened last, newest
// first; both kept in the settings across launches.
class FileChooser : public QObject
{
    Q_OBJECT

public:
    static constexpr int recentLimit = 10;

    FileChooser(QWidget *window, QMenu *recentMenu, QSettings *settings, QObject *parent = nullptr);

    void showOpenPanel();
    // path was opened: first among the recent ones, and its folder the panel's.
    void add(const QString &path);
    // The recent videos still where they were.
    QStringList recentFiles() const;

Q_SIGNALS:
    void chosen(const QString &path);

private:
    void fillRecentMenu();

    QWidget *m_window;
    QMenu *m_menu;
    QSettings *m_settings;
};
