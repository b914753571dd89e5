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
    fill(probe);
    // Beside the main window, not over it: the user may look while choosing the crop.
    show();
    raise();
    activateWindow();
}

void VideoInfoWindow::follow(const FileProbe &probe)
{
    if (isVisible())
        fill(probe);
}

void VideoInfoWindow::fill(const FileProbe &probe)
{
    const PixelShape aspect = probe.sampleAspect();
    const QString rate = QString::number(probe.videoFrameRate(), 'g', 5);
    QStringList summary {
        QFileInfo(probe.fileFullPath().value_or(QString())).fileName(),
        tr("%1, %2, %3 kb/s").arg(probe.fileSizeHuman().value_or(QString()), TrackSummary::humanDuration(probe.duration()))
            .arg(probe.bitRate() / 1000),
        (probe.isVariableFrameRate() ? tr("Picture: %1 x %2, variable frame rate, about %3 a second")
                                     : tr("Picture: %1 x %2 at %3 frames a second"))
            .arg(probe.videoWidth().value_or(0))
            .arg(probe.videoHeight().value_or(0))
            .arg(rate),
    };
    if (probe.rotation() != 0)
        summary << tr("Turned %1° clockwise for showing").arg(probe.rotation());
    if (!aspect.isSquare())
        summary << tr("Pixels %1:%2 wide (not square)").arg(aspect.num).arg(aspect.den);
    const QString fields = probe.fieldOrder();
    if (probe.isInterlaced())
        summary << (fields == u"tt" || fields == u"tb" ? tr("Interlaced, top field first")
                                                       : tr("Interlaced, bottom field first"));
    const QString transfer = probe.colourTransfer();
    if (transfer == u"smpte2084")
        summary << tr("Colour: HDR (PQ, %1)").arg(probe.colourPrimaries());
    else if (transfer == u"arib-std-b67")
        summary << tr("Colour: HDR (HLG, %1)").arg(probe.colourPrimaries());
    else if (!transfer.isEmpty() || !probe.colourPrimaries().isEmpty())
        summary << tr("Colour: SDR (%1)").arg(probe.colourPrimaries().isEmpty() ? transfer : probe.colourPrimaries());
    m_ui.summaryLBL->setText(summary.join(u'\n'));

    const QList<QVariantMap> &tracks = probe.tracksInfo();
    const QString cropped = probe.videoStreamIndex() ? QString::number(*probe.videoStreamIndex()) : QString();
    m_ui.tracksTable->setRowCount(int(tracks.size()));
    for (int row = 0; row < tracks.size(); ++row) {
        const char *keys[] = { "trackID", "trackType", "trackCodec", "trackSpecialInfo", "trackDurationHuman",
                               "trackLanguage" };
        const bool isCropped = tracks[row].value(u"trackID"_s).toString() == cropped;
        for (int column = 0; column < 6; ++column) {
            QString text = tracks[row].value(QString::fromLatin1(keys[column])).toString();
            if (column == 1 && isCropped)
                text = tr("%1 (cropped)").arg(text);
            auto *item = new QTableWidgetItem(text);
            QFont font = item->font();
            font.setBold(isCropped);
            item->setFont(font);
            m_ui.tracksTable->setItem(row, column, item);
        }
    }
    m_ui.tracksTable->resizeColumnsToContents();

    const auto &metadata = probe.metadata();
    m_ui.metadataTable->setRowCount(int(metadata.size()));
    for (int row = 0; row < metadata.size(); ++row) {
        m_ui.metadataTable->setItem(row, 0, new QTableWidgetItem(metadata[row].value(u"key"_s)));
        m_ui.metadataTable->setItem(row, 1, new QTableWidgetItem(metadata[row].value(u"value"_s)));
    }
    m_ui.metadataTable->resizeColumnToContents(0);
}
