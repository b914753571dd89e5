#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into an orderly quit, so a logout or a
// Ctrl+C in the terminal still stops the tools and removes temporary files.
class SignalQuit : public QObject
{
    Q_OBJECT

public:
    explicit SignalQuit(QObject *parent = nullptr);
    ~SignalQuit() override;

private:
    QSocketNotifier *m_notifier = nullptr;
};
