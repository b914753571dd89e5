#pragma once

#include <QRectF>
#include <QSize>
#include <QStringList>

#include <optional>

// The aspect-ratio and preset lists, and where a preset puts the selection.
namespace CropPresets {

QStringList wideRatios();
QStringList tallRatios();

// "w" "x" "h" for each preset height below the video whose even width for
// the ratio "a:b" is also below the video, largest first.
QStringList presetTitles(qint64 videoWidth, qint64 videoHeight, const QString &ratioTitle);

QString presetTitle(QSize size);
// Whether size is of the ratio "a:b", within one even step of either side.
bool fitsRatio(QSize size, const QString &ratioTitle);

// The selection for a preset title, or the fallback square without one, in
// video pixels: centred, never beyond the picture.
QRectF placeSelection(const std::optional<QString> &presetTitle, qint64 videoWidth, qint64 videoHeight);

} // namespace CropPresets
