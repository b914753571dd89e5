#pragma once

#include <QRect>
#include <QSize>
#include <QStringList>

// One crop as the user asked for it.
struct CropRequest
{
    QString input;
    QString destination;
    QRect crop;                // in video pixels, top-left origin
    int scalePercent = 100;    // 100: unscaled
    QSize scaledSize;          // the output size when scaled
    bool downmixToStereo = false;
    double inputDuration = 0;  // seconds, for the progress
};

// "crop=w:h:x:y".
QString cropFilterText(const QRect &crop);

// The encoder's arguments for request, writing to outputPath: no subtitles,
// data, chapters or metadata; 4:2:0 pixels; audio down-mixed to stereo when
// asked; the crop filter, followed by a scale unless the scale is 100 percent;
// the output last, after "-y".
QStringList buildCropArguments(const CropRequest &request, const QString &outputPath);
