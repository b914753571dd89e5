#include "Alerts.h"

#include "DesktopIntegration.h"
#include "media/FileProbe.h"
#include "media/InputFormats.h"
#include "selection/SelectionGeometry.h"
#include "util/LocalFile.h"
#include "util/TimeText.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

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

namespace {

// A refusal that names the file: its name first, then why, then what to do.
Refusal refusal(QMessageBox::Icon icon, const QString &text, const QString &informative)
{
    return [=](QWidget *window) { return opened(alert(window, icon, text, informative)); };
}

QString withSupport(const QString &text)
{
    return text + tr(" Questions? : %1").arg(support);
}

Refusal refusalOfPath(const QString &path)
{
    const QString where = QDir::toNativeSeparators(path);
    switch (LocalFile::kindOf(path)) {
    case LocalFile::Kind::regularFile:
        return {};
    case LocalFile::Kind::missing:
        return [path](QWidget *window) { return notFound(window, path); };
    case LocalFile::Kind::linkLoop:
        return refusal(QMessageBox::Warning, tr("“%1” is a link that leads back to itself.").arg(QFileInfo(path).fileName()),
                       withSupport(tr("Its chain of symbolic links never reaches a file: %1").arg(where)));
    case LocalFile::Kind::folder:
        return refusal(QMessageBox::Warning, tr("“%1” is a folder, not a video file.").arg(QFileInfo(path).fileName()),
                       withSupport(tr("Open one of the videos inside it instead.")));
    case LocalFile::Kind::unreadable:
        return refusal(QMessageBox::Warning, tr("You do not have permission to read “%1”.").arg(QFileInfo(path).fileName()),
                       withSupport(tr("Ask its owner for access, or copy it somewhere you may read it: %1").arg(where)));
    case LocalFile::Kind::namedPipe:
    case LocalFile::Kind::device:
    case LocalFile::Kind::socket:
    case LocalFile::Kind::other:
        break;
    }
    const LocalFile::Kind kind = LocalFile::kindOf(path);
    const QString what = kind == LocalFile::Kind::namedPipe ? tr("a named pipe")
        : kind == LocalFile::Kind::device                   ? tr("a device")
        : kind == LocalFile::Kind::socket                   ? tr("a socket")
                                                            : tr("not a regular file");
    return refusal(QMessageBox::Warning, tr("“%1” is %2, not a video file.").arg(QFileInfo(path).fileName(), what),
                   withSupport(tr("Tessaly opens only files stored on a disk, to read them without waiting on "
                                  "another program.")));
}

} // namespace

Refusal refusalOf(const QUrl &url)
{
    if (!url.isLocalFile() || url.toLocalFile().isEmpty())
        return refusal(QMessageBox::Warning,
                       tr("Tessaly opens files on this computer only: %1")
                           .arg(QUrl::fromPercentEncoding(url.toDisplayString().toUtf8())),
                       withSupport(tr("Download or copy the video to a folder here, then open it from there.")));
    return refusalOfPath(url.toLocalFile());
}

Refusal refusalOf(const FileProbe &probe)
{
    const QString path = probe.fileFullPath().value_or(QString());
    if (QFileInfo(path).suffix().toLower() == u"vob")
        return vobRefused;
    if (Refusal refused = refusalOfPath(path))
        return refused;
    switch (probe.toolTrouble()) {
    case ProbeTool::Trouble::none:
        break;
    case ProbeTool::Trouble::missing:
    case ProbeTool::Trouble::broken:
        return refusal(QMessageBox::Critical, tr("Tessaly’s probe tool (ffprobe) is missing or broken."),
                       withSupport(tr("It could not tell what “%1” holds: %2. Please reinstall Tessaly, whose "
                                      "package brings ffprobe and ffmpeg.")
                                       .arg(QFileInfo(path).fileName(), probe.toolTroubleDetail())));
    case ProbeTool::Trouble::timedOut:
        return refusal(QMessageBox::Warning, tr("The analysis of “%1” took too long.").arg(QFileInfo(path).fileName()),
                       withSupport(tr("ffprobe did not finish within %1 seconds. The file may lie on a slow or "
                                      "unresponsive drive.")
                                       .arg(ProbeTool::defaultTimeoutMs / 1000)));
    }
    switch (InputFormats::refusalOf(probe.formatName())) {
    case InputFormats::Refusal::none:
        break;
    case InputFormats::Refusal::playlist:
        return refusal(QMessageBox::Warning, tr("“%1” is a playlist, not a video: it names other files.").arg(QFileInfo(path).fileName()),
                       withSupport(tr("Tessaly reads only the file you open. Open one of the videos it names "
                                      "instead.")));
    case InputFormats::Refusal::pictures:
        return refusal(QMessageBox::Warning, tr("“%1” is a picture, not a video.").arg(QFileInfo(path).fileName()),
                       withSupport(tr("Tessaly crops videos.")));
    }
    if (probe.isValidMediaFile() && !probe.hasVideoTrack() && probe.hasAudioTrack())
        return [path](QWidget *window) { return noVideo(window, path); };
    if (!probe.isCroppableVideo())
        return unsupportedFile;
    const int smallest = int(SelectionGeometry::minimumSide);
    if (*probe.videoWidth() < smallest || *probe.videoHeight() < smallest)
        return refusal(QMessageBox::Warning,
                       tr("“%1” is too small to crop: %2 x %3 pixels.")
                           .arg(QFileInfo(path).fileName())
                           .arg(*probe.videoWidth())
                           .arg(*probe.videoHeight()),
                       withSupport(tr("Tessaly crops videos of at least %1 x %1 pixels.").arg(smallest)));
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

QMessageBox *picturesTimedOut(QWidget *window, int timeoutSeconds)
{
    return opened(alert(window, QMessageBox::Warning, tr("Tessaly gave up on the pictures of this video."),
                        tr("ffmpeg made no picture within %1 seconds. The file may lie on a slow or unresponsive "
                           "drive.")
                                .arg(timeoutSeconds)
                            + tr(" Questions? : %1").arg(support)));
}

QMessageBox *followFailed(QWidget *window, const QString &reason)
{
    return opened(alert(window, QMessageBox::Warning, tr("Tessaly could not follow the motion of this video."),
                        tr("Its pictures could not be decoded to the end: %1\nThe crop and its keyframes are as they "
                           "were.")
                            .arg(reason.isEmpty() ? tr("ffmpeg gave no reason") : reason)));
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
