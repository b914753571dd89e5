#include "CropArguments.h"

#include "media/FileProbe.h"
#include "util/Diagnostics.h"

using namespace Qt::StringLiterals;

QStringList buildCropArguments(const FileProbe &probe, const QString &inputPath, const QString &outputPath,
                               int scalePercent, const QString &cropFilterText, QSize scaledSize)
{
    QStringList arguments { u"-i"_s, inputPath, u"-sn"_s, u"-dn"_s, u"-map_chapters"_s, u"-1"_s,
                            u"-map_metadata"_s, u"-1"_s, u"-pix_fmt"_s, u"yuv420p"_s };
    if (probe.hasAudioTrack() && probe.hasAudioTrackWhichHasMoreThanTwoChannels())
        arguments << u"-ac"_s << u"2"_s;

    QString filter = cropFilterText;
    if (scalePercent != 100)
        filter += u",scale=%1:%2,setsar=1:1"_s.arg(scaledSize.width()).arg(scaledSize.height());
    arguments << u"-vf"_s << filter << u"-y"_s << outputPath;

    QStringList quoted;
    for (const QString &argument : arguments)
        quoted << u'"' + argument + u'"';
    writeDiagnostic(u'[' + quoted.join(u", "_s) + u']');
    return arguments;
}
