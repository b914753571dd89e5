#pragma once

#include "AppDelegate.h"

#include <QMainWindow>
#include <QString>

class QMessageBox;

// Drives Tessaly's real window as a user would, for the application tests.
class AppDriver
{
public:
    explicit AppDriver(const QString &scratchBase, const AppDelegate::Tools &tools = AppDelegate::Tools::bundled());

    AppDelegate &delegate() { return *m_delegate; }
    QMainWindow *window() const { return m_delegate->window(); }
    template<typename T>
    T *control(const char *name) const
    {
        return window()->findChild<T *>(QString::fromLatin1(name));
    }

    // Makes the window the one that takes the keys.
    void activate();
    // Opens path; true once the video is loaded with all its posters, false when it was refused.
    bool open(const QString &path);
    // The alert now shown, waiting for one up to timeoutMs; null if none came.
    QMessageBox *waitForAlert(int timeoutMs = 60'000) const;
    // The crop action, answering the save panel with path (empty: the proposed name).
    // instant: without re-encoding.
    void cropTo(const QString &path = QString(), bool instant = false);
    // Waits up to timeoutMs for the crop to end: the alert it ended in, or
    // null after a cancel. The progress sheet must be gone by then.
    QMessageBox *waitForCropEnd(int timeoutMs = 300'000) const;
    // Crops to path and gives the crop filter of the command the encoder ran, with its scale.
    QString cropFilterOf(const QString &path);
    bool isLoaded() const;
    bool isSheetShown() const;
    // Why the window is not in its empty state, or nothing when it is.
    QString notEmptyBecause() const;

private:
    std::unique_ptr<AppDelegate> m_delegate;
};
