#pragma once

#include <QSize>
#include <QStringList>

class FileProbe;

// The encoder's arguments for one crop: no subtitles, data, chapters or
// metadata; 4:2:0 pixels; audio down-mixed to stereo when it has more than two
// channels; the crop filter, followed by a scale to scaledSize unless the
// scale is 100 percent; the output last, after "-y". Written once to standard
// output as a diagnostic.
QStringList buildCropArguments(const FileProbe &probe, const QString &inputPath, const QString &outputPath,
                               int scalePercent, const QString &cropFilterText, QSize scaledSize);
