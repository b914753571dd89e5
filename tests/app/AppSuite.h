#pragma once

#include "AppDelegate.h"
#include "AppDriver.h"
#include "support/Fixtures.h"

// What most cases of the application suites reach for.
#include <QAction>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// What the application suites share: videos made by ffmpeg once per suite,
// a fresh work folder per case (with "in" and "out" in it), and the checks
// that more than one suite makes.
class AppSuite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The work folder of each case, and the checks that nothing is left behind.
    void init();
    void cleanup();

protected:
    // Makes the named fixtures, as the recipes in the .cpp describe them.
    void makeFiles(const QStringList &kinds);

    // A copy in the work folder, for the cases that change or delete it.
    QString fixture(const QString &kind);
    // Tools whose crop runs behave as script says; posters still come from the real encoder.
    AppDelegate::Tools misbehavingEncoder(const QByteArray &script) const;
    QLabel *label(AppDriver &app, const char *name) const;
    // As a user's choice in a pop-up.
    static void choose(QComboBox *box, int index);
    void verifyPlacedOverThePicture(AppDriver &app);
    // Checks each of count posters against the input's picture of its time.
    void verifyPosters(AppDriver &app, const QString &input, int count = 11);
    // A key as the keyboard sends it: "Ctrl+B", "]", "}".
    static void press(AppDriver &app, const QString &key);
    // Waits until the scrubber shows the exact picture of the time it is at.
    static bool waitForScrubbedPicture(AppDriver &app);

    QTemporaryDir m_fixtures;
    QHash<QString, QString> m_files;
    std::unique_ptr<QTemporaryDir> m_work;

private:
    QString make(const QString &kind);
};
