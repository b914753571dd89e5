#pragma once

#include <QRectF>
#include <QStringList>

#include <optional>

// The aspect-ratio and preset lists, and where a preset puts the selection.
namespace CropPresets {

QStringList wideRatios();
QStringList tallRatios();

// "w" "x" "h" for each preset height below the video whose even width for
// the ratio "a:b" is also below the video, largest first.
QStringList presetTitles(qint64 videoWidth, qint64 videoHeight, const QString &ratioTitle);

// The selection for a preset title, or the fallback square without one:
// centred in the holder, at least 100 points a side but never beyond it.
QRectF placeSelection(const std::optional<QString> &presetTitle, qint64 videoWidth, qint64 videoHeight,
                      double scale);

} // namespace CropPresets
