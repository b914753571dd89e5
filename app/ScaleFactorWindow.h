#pragma once

#include "ui_ScaleFactorWindow.h"

#include <QDialog>

// The scale-factor sheet: a slider in percent (100: unscaled) and the crop,
// factor and output sizes it gives.
class ScaleFactorWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit ScaleFactorWindow(QWidget *window);

    int percent() const { return m_ui.scaleFactorSlider->value(); }
    // The output size of the crop at the current factor.
    QSize scaledOutputSize() const;
    // A new crop size; the factor goes back to 100.
    void reset(QSize cropped);

public Q_SLOTS:
    void scaleFactorBTNClicked();
    void closeBTNInsideScaleFactorWindowClicked();

Q_SIGNALS:
    // The slider moved.
    void scaleChanged();

private:
    void updateScaleFactorLabels();

    Ui::ScaleFactorWindow m_ui;
    QSize m_cropped;
};
