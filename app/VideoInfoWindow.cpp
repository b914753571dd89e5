#include "VideoInfoWindow.h"

#include "media/FileProbe.h"
#include "media/TrackSummary.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

VideoInfoWindow::VideoInfoWindow(QWidget *window)
    : QDialog(window)
{
    m_ui.setupUi(this);
    connect(m_ui.buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void VideoInfoWindow::showVideo(const FileProbe &probe)
{
    const PixelShape aspect = probe.sampleAspect();
    QStringList summary {
        QFileInfo(probe.fileFullPath().value_or(QString())).fileName(),
        u"%1, %2, %3 kb/s"_s.arg(probe.fileSizeHuman().value_or(QString()), TrackSummary::humanDuration(probe.duration()))
            .arg(probe.bitRate() / 1000),
        u"Picture: %1 x %2 at %3 frames a second"_s.arg(probe.videoWidth().value_or(0))
            .arg(probe.videoHeight().value_or(0))
            .arg(probe.videoFrameRate(), 0, 'g', 5),
    };
    if (!aspect.isSquare())
        summary << u"Pixels %1:%2 wide (not square)"_s.arg(aspect.num).arg(aspect.den);
    if (probe.tagRotateValue() != 0)
        summary << u"Rotation tag: %1°"_s.arg(probe.tagRotateValue());
    m_ui.summaryLBL->setText(summary.join(u'\n'));

    const QList<QVariantMap> &tracks = probe.tracksInfo();
    m_ui.tracksTable->setRowCount(int(tracks.size()));
    for (int row = 0; row < tracks.size(); ++row) {
        const char *keys[] = { "trackID", "trackType", "trackCodec", "trackSpecialInfo", "trackDurationHuman",
                               "trackLanguage" };
        for (int column = 0; column < 6; ++column)
            m_ui.tracksTable->setItem(row, column,
                                      new QTableWidgetItem(tracks[row].value(QString::fromLatin1(keys[column])).toString()));
    }
    m_ui.tracksTable->resizeColumnsToContents();

    const auto &metadata = probe.metadata();
    m_ui.metadataTable->setRowCount(int(metadata.size()));
    for (int row = 0; row < metadata.size(); ++row) {
        m_ui.metadataTable->setItem(row, 0, new QTableWidgetItem(metadata[row].value(u"key"_s)));
        m_ui.metadataTable->setItem(row, 1, new QTableWidgetItem(metadata[row].value(u"value"_s)));
    }
    m_ui.metadataTable->resizeColumnToContents(0);
    // Beside the main window, not over it: the user may look while choosing the crop.
    show();
    raise();
    activateWindow();
}
