#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// The running instance's private scratch folder for poster frames: a fresh
// folder of mode 0700 under the temporary location, holding a lock file that
// marks it as Tessaly's and tells a live owner from one that crashed. It also
// keeps the names of the crop's temporary outputs. Removed whole when the
// instance ends; a later instance removes the folders of instances that
// crashed, with the temporary outputs they left, and touches nothing else.
class ScratchDirectory
{
public:
    // base: where scratch folders live; the temporary location by default.
    explicit ScratchDirectory(const QString &base = QString());
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    bool isValid() const { return !m_root.isEmpty(); }
    QString root() const { return m_root; }
    // Where the poster frames go.
    QString framesDirectory() const;
    // Where the crop notes its temporary outputs.
    QString outputRecordsDirectory() const;

    // Removes the whole folder; nothing is left to remove afterwards.
    void removeScratchDirectory();

    // Removes, under base, the scratch folders of this user whose instances
    // are no longer running, and the temporary outputs they noted.
    static void removeAbandonedRoots(const QString &base);

private:
    QString m_root;
    std::unique_ptr<QLockFile> m_lock;
};
