#include "ProgressSheet.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

ProgressSheet::ProgressSheet(QWidget *window)
    : QDialog(window)
{
    m_ui.setupUi(this);
#ifdef Q_OS_MACOS
    setWindowFlag(Qt::Sheet);
#endif
    setWindowModality(Qt::WindowModal);
    connect(m_ui.progressCancel, &QPushButton::clicked, this, &ProgressSheet::cancelRequested);
}

void ProgressSheet::showAnalyzingProgress()
{
    begin(tr("Analyzing Video..."), QString());
}

void ProgressSheet::hideAnalyzingProgress()
{
    m_ui.progressBar->setValue(0);
    hide();
}

void ProgressSheet::showCroppingProgress()
{
    begin(tr("Cropping Video..."), tr("Starting…"));
}

void ProgressSheet::showFollowingProgress()
{
    begin(tr("Following the Motion..."), tr("Looking for what moves across the whole video…"));
}

void ProgressSheet::hideCroppingProgress()
{
    m_ui.progressBar->setValue(0);
    m_ui.progressCancel->hide();
    hide();
}

void ProgressSheet::setProgress(double percent)
{
    if (std::isfinite(percent))
        m_ui.progressBar->setValue(int(std::clamp(percent, 0.0, 100.0)));
}

void ProgressSheet::setProgress(const ProgressFigures &progress)
{
    setProgress(progress.percent);
    m_ui.progressDetailLBL->setText(detailText(progress));
}

QString ProgressSheet::detailText(const ProgressFigures &progress)
{
    QStringList parts { tr("%1 %").arg(int(progress.percent)) };
    if (progress.speed > 0)
        parts << tr("%1× real time").arg(QLocale().toString(progress.speed, 'f', progress.speed < 10 ? 1 : 0));
    if (progress.secondsLeft) {
        const qint64 left = std::llround(*progress.secondsLeft);
        parts << (left < 60 ? tr("about %n s left", nullptr, int(left))
                  : left < 3600 ? tr("about %1 min %2 s left").arg(left / 60).arg(left % 60)
                                : tr("about %1 h %2 min left").arg(left / 3600).arg(left / 60 % 60));
    }
    if (progress.expectedBytes)
        parts << tr("about %1").arg(QLocale().formattedDataSize(*progress.expectedBytes, 0, QLocale::DataSizeSIFormat));
    return parts.join(u" · "_s);
}

void ProgressSheet::setStalled(int stalledSeconds)
{
    m_ui.progressTitle->setText(stalledSeconds > 0
                                    ? tr("No progress for %1 seconds: the encoder may be stuck. Cancel stops it.")
                                          .arg(stalledSeconds)
                                    : tr("Cropping Video..."));
}

void ProgressSheet::begin(const QString &title, const QString &detail)
{
    m_ui.progressTitle->setText(title);
    m_ui.progressDetailLBL->setText(detail);
    m_ui.progressBar->setValue(0);
    m_ui.progressCancel->show();
    if (!isVisible())
        open();
}

void ProgressSheet::reject()
{
    // Escape and closing the sheet cancel, as its button does; the sheet stays until the work has stopped.
    Q_EMIT cancelRequested();
}
