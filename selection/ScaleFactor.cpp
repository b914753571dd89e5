#include "ScaleFactor.h"

#include "CropGeometry.h"
#include "util/Numbers.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

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
    return u"Scale Factor: "_s + factorText(percent) + u'x';
}

QString outputLabelText(QSize output)
{
    return u"Output: %1 x %2"_s.arg(output.width()).arg(output.height());
}

} // namespace ScaleFactor
