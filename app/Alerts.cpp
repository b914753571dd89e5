#include "Alerts.h"

#include "DesktopIntegration.h"
#include "media/FileProbe.h"
#include "util/TimeText.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace Alerts {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Alerts", text);
}

QMessageBox *alert(QWidget *window, QMessageBox::Icon icon, const QString &text, const QString &informative,
                   bool withOk = true)
{
    auto *box = new QMessageBox(icon, u"Tessaly"_s, text, QMessageBox::NoButton, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(informative);
    if (withOk)
        box->addButton(QMessageBox::Ok);
    return box;
}

QMessageBox *opened(QMessageBox *box)
{
    box->open();
    return box;
}

const QString support = QString::fromLatin1(supportAddress);
constexpr char responseProperty[] = "tessaly-response";

} // namespace

std::function<QMessageBox *(QWidget *)> refusalOf(const FileProbe &probe)
{
    const QString path = probe.fileFullPath().value_or(QString());
    const auto about = [path](QMessageBox *(*alert)(QWidget *, const QString &)) {
        return [alert, path](QWidget *window) { return alert(window, path); };
    };
    if (QFileInfo(path).suffix().toLower() == u"vob")
        return vobRefused;
    if (!QFileInfo::exists(path))
        return about(notFound);
    if (probe.isValidMediaFile() && !probe.hasVideoTrack() && probe.hasAudioTrack())
        return about(noVideo);
    if (!probe.isCroppableVideo())
        return unsupportedFile;
    return {};
}

QMessageBox *vobRefused(QWidget *window)
{
    return opened(alert(window, QMessageBox::Warning, tr("Tessaly cannot open .VOB files."),
                        tr("Questions? : %1").arg(support)));
}

QMessageBox *unsupportedFile(QWidget *window)
{
    return opened(alert(window, QMessageBox::Warning,
                        tr("Seems to be an unsupported file.\nDoes the video play in a video player?"),
                        tr("Please try opening some other file or contact : ") + support));
}

QMessageBox *notFound(QWidget *window, const QString &path)
{
    return opened(alert(window, QMessageBox::Warning, tr("“%1” was not found.").arg(QFileInfo(path).fileName()),
                        tr("It may have been moved, renamed or deleted: %1\nQuestions? : %2")
                            .arg(QDir::toNativeSeparators(path), support)));
}

QMessageBox *noVideo(QWidget *window, const QString &path)
{
    return opened(alert(window, QMessageBox::Warning, tr("“%1” has no video.").arg(QFileInfo(path).fileName()),
                        tr("It holds only sound, and Tessaly crops pictures. Questions? : %1").arg(support)));
}

QMessageBox *sameName(QWidget *window)
{
    return opened(alert(window, QMessageBox::Information, tr("Input file name is same as the output file name!"),
                        tr("Please specify a different file to save.")));
}

QMessageBox *cropFailed(QWidget *window, const QString &reason)
{
    return opened(alert(window, QMessageBox::Warning, tr("The video could not be cropped."),
                        reason + tr("\nNo file was written; a file already at that place is unchanged.")));
}

QMessageBox *noScratchFolder(QWidget *window)
{
    return opened(alert(window, QMessageBox::Warning, tr("Tessaly cannot make its temporary folder."),
                        tr("Please check that there is free space in %1.").arg(QDir::toNativeSeparators(
                            QDir::tempPath()))));
}

QMessageBox *undecodableVideo(QWidget *window, const QString &reason)
{
    return opened(alert(window, QMessageBox::Warning, tr("Tessaly cannot decode the pictures of this video."),
                        tr("ffmpeg reports: %1\nDoes the video play in a video player? Questions? : %2").arg(
                            reason.isEmpty() ? u"nothing"_s : reason, support)));
}

QMessageBox *replaceFile(QWidget *window, const QString &path)
{
    QMessageBox *box = alert(window, QMessageBox::Warning,
                             tr("“%1” already exists. Do you want to replace it?").arg(QFileInfo(path).fileName()),
                             tr("A file with the same name already exists in “%1”. Replacing it will overwrite its contents.")
                                 .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())),
                             false);
    box->addButton(tr("Replace"), QMessageBox::AcceptRole);
    box->setDefaultButton(box->addButton(QMessageBox::Cancel));
    return opened(box);
}

QString resultText(const FileProbe &input, const FileProbe &output)
{
    const QString unknown = tr("Unknown File Size");
    return tr("Input Resolution: %1 x %2 (%3)\nOutput Resolution: %4 x %5 (%6)\nOutput Duration: %7")
        .arg(input.videoWidth().value_or(0))
        .arg(input.videoHeight().value_or(0))
        .arg(input.fileSizeHuman().value_or(unknown))
        .arg(output.videoWidth().value_or(0))
        .arg(output.videoHeight().value_or(0))
        .arg(output.fileSizeHuman().value_or(unknown), TimeText::format(output.duration()));
}

QMessageBox *cropResult(QWidget *window, const FileProbe &input, const FileProbe &output, const QStringList &notes,
                        std::optional<double> readableEnd)
{
    QStringList lines { resultText(input, output) };
    lines += notes;
    if (readableEnd)
        lines << QString() << tr("The input could be read only up to %1: the rest of it is damaged or missing.")
                                  .arg(TimeText::format(*readableEnd));
    QMessageBox *box = alert(window, readableEnd ? QMessageBox::Warning : QMessageBox::Information,
                             readableEnd ? tr("Video Cropped, but Shorter than Asked") : tr("Video Cropped Successfully!"),
                             lines.join(u'\n'), false);
    QPushButton *okButton = box->addButton(tr("OK"), QMessageBox::AcceptRole);
    okButton->setProperty(responseProperty, ok);
    // Escape answers OK, as Return does.
    box->setEscapeButton(okButton);
    box->addButton(DesktopIntegration::revealButtonTitle(), QMessageBox::ActionRole)
        ->setProperty(responseProperty, reveal);
    box->addButton(DesktopIntegration::playButtonTitle(), QMessageBox::ActionRole)->setProperty(responseProperty, play);
    return opened(box);
}

int responseOf(const QObject *button)
{
    return button ? button->property(responseProperty).toInt() : ok;
}

} // namespace Alerts
