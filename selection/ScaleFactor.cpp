#include "ScaleFactor.h"

#include "CropGeometry.h"
#include "util/Numbers.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace ScaleFactor {

QSize scaledOutputSize(QSize cropped, double percent)
{
    const double f = percent / 100;
    // Never below 2 pixels: a scale to 0 would mean "unscaled" to the encoder.
    const qint64 oh = std::max<qint64>(2, CropGeometry::evenRound(cropped.height() * f));
    const qint64 ow = std::max<qint64>(2, CropGeometry::evenRound(f * cropped.width()));
    return { int(ow), int(oh) };
}

QString factorText(double percent)
{
    return decimalText(std::round(percent / 100 * 1000) / 1000);
}

QString inputLabelText(QSize cropped)
{
    return CropGeometry::croppedLabelText(cropped);
}

QString factorLabelText(double percent)
{
    return QCoreApplication::translate("ScaleFactor", "Scale Factor: %1x").arg(factorText(percent));
}

QString outputLabelText(QSize output)
{
    return QCoreApplication::translate("ScaleFactor", "Output: %1 x %2").arg(output.width()).arg(output.height());
}

} // namespace ScaleFactor
