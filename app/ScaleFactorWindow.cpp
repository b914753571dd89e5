#include "ScaleFactorWindow.h"

#include "selection/ScaleFactor.h"

ScaleFactorWindow::ScaleFactorWindow(QWidget *window)
    : QDialog(window)
{
    m_ui.setupUi(this);
#ifdef Q_OS_MACOS
    setWindowFlag(Qt::Sheet);
#endif
    setWindowModality(Qt::WindowModal);
    connect(m_ui.closeButton, &QPushButton::clicked, this, &ScaleFactorWindow::closeBTNInsideScaleFactorWindowClicked);
    connect(m_ui.scaleFactorSlider, &QSlider::valueChanged, this, [this] {
        updateScaleFactorLabels();
        Q_EMIT scaleChanged();
    });
}

QSize ScaleFactorWindow::scaledOutputSize() const
{
    return ScaleFactor::scaledOutputSize(m_cropped, m_ui.scaleFactorSlider->value());
}

void ScaleFactorWindow::reset(QSize cropped)
{
    m_cropped = cropped;
    m_ui.scaleFactorSlider->setValue(100);
    updateScaleFactorLabels();
}

void ScaleFactorWindow::updateScaleFactorLabels()
{
    m_ui.scaleFactorInputLBL->setText(ScaleFactor::inputLabelText(m_cropped));
    m_ui.scaleFactorLBL->setText(ScaleFactor::factorLabelText(m_ui.scaleFactorSlider->value()));
    m_ui.scaleFactorOutputLBL->setText(ScaleFactor::outputLabelText(scaledOutputSize()));
}

void ScaleFactorWindow::scaleFactorBTNClicked()
{
    open();
}

void ScaleFactorWindow::closeBTNInsideScaleFactorWindowClicked()
{
    accept();
}
