#pragma once

#include <QSize>
#include <QString>

// The output scale factor: v is the slider's value in percent, 100 = unscaled.
namespace ScaleFactor {

QSize scaledOutputSize(QSize cropped, double percent);

// The factor as a fraction rounded to three decimals, in its shortest form
// with at least one digit after the point: 1.0, 0.5, 0.333.
QString factorText(double percent);

QString inputLabelText(QSize cropped);
QString factorLabelText(double percent);
QString outputLabelText(QSize output);

} // namespace ScaleFactor
