#include "SelectionPanel.h"

#include "selection/CropGeometry.h"
#include "selection/CropPresets.h"

using namespace Qt::StringLiterals;

SelectionPanel::SelectionPanel(QWidget *parent)
    : QWidget(parent)
{
    m_ui.setupUi(this);
    connect(m_ui.wideTallBTN, &QPushButton::clicked, this, &SelectionPanel::wideTallBTNClicked);
    connect(m_ui.aspectRationPopUpBTN, &QComboBox::activated, this, &SelectionPanel::aspectRatioPopUpBTNChanged);
    connect(m_ui.presetPopUpBTN, &QComboBox::activated, this, &SelectionPanel::presetPopUpBTNChanged);
    connect(m_ui.proportionalCBX, &QCheckBox::clicked, this, &SelectionPanel::proportionalCBXClicked);
    connect(m_ui.selectionRectangle, &SelectionRectangle::activityInSelectionRectangle, this,
            &SelectionPanel::activityInSelectionRectangle);
}

void SelectionPanel::setControlsEnabled(bool enabled)
{
    m_ui.selectionRectangleHolder->setVisible(enabled);
    m_ui.selectionRectangle->setVisible(enabled);
    m_ui.inputResolutionTF->setText(u"Source: 0 x 0"_s);
    m_ui.outputResolutionTF->setText(u"Cropped: 0 x 0"_s);
    m_ui.proportionalCBX->setChecked(true);
    m_ui.proportionalCBX->setEnabled(enabled);
    m_ui.aspectRationPopUpBTN->setEnabled(enabled);
    m_ui.presetPopUpBTN->setEnabled(enabled);
    m_ui.wideTallBTN->setEnabled(enabled);
    m_ui.wideTallBTN->setText(u"Wide"_s);
}

void SelectionPanel::clear()
{
    m_videoWidth = m_videoHeight = 0;
    m_layoutScale = 0;
    setControlsEnabled(false);
}

void SelectionPanel::setVideo(qint64 width, qint64 height)
{
    m_videoWidth = width;
    m_videoHeight = height;
    setControlsEnabled(true);
    m_ui.selectionRectangle->setProportional(false);
    m_ui.inputResolutionTF->setText(CropGeometry::sourceLabelText(width, height));
    layoutSelectionHolder();
    // A square video counts as tall.
    m_ui.wideTallBTN->setChecked(height < width);
    wideTallBTNClicked();
}

void SelectionPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_layoutScale <= 0)
        return;
    // The selection keeps its video pixels.
    const QRectF frame = m_ui.selectionRectangle->selectionFrame();
    const double oldScale = m_layoutScale;
    layoutSelectionHolder();
    const double factor = m_layoutScale / oldScale;
    m_ui.selectionRectangle->setSelectionFrame(
        QRectF(frame.x() * factor, frame.y() * factor, frame.width() * factor, frame.height() * factor));
}

void SelectionPanel::layoutSelectionHolder()
{
    m_layoutScale = displayScale();
    const QSize area = m_ui.posterView->size();
    const QRect holder = CropGeometry::holderFrame(m_videoWidth, m_videoHeight, area.width(), area.height()).toRect();
    m_ui.selectionRectangleHolder->setGeometry(holder);
    m_ui.posterView->setPictureRect(holder);
}

double SelectionPanel::displayScale() const
{
    const QSize area = m_ui.posterView->size();
    return CropGeometry::displayScale(m_videoWidth, m_videoHeight, area.width(), area.height());
}

QSize SelectionPanel::croppedSize() const
{
    return crop().size();
}

QRect SelectionPanel::crop() const
{
    return CropGeometry::cropRect(m_ui.selectionRectangle->selectionFrame(), displayScale(), m_videoWidth,
                                  m_videoHeight);
}

void SelectionPanel::updateCroppedLabel()
{
    m_ui.outputResolutionTF->setText(CropGeometry::croppedLabelText(croppedSize()));
}

void SelectionPanel::fillAspectRatioPopUp()
{
    m_ui.aspectRationPopUpBTN->clear();
    m_ui.aspectRationPopUpBTN->addItems(m_ui.wideTallBTN->isChecked() ? CropPresets::wideRatios()
                                                                      : CropPresets::tallRatios());
    m_ui.aspectRationPopUpBTN->setCurrentIndex(0);
}

void SelectionPanel::fillPresetPopUp()
{
    QComboBox *presets = m_ui.presetPopUpBTN;
    presets->clear();
    presets->addItems(
        CropPresets::presetTitles(m_videoWidth, m_videoHeight, m_ui.aspectRationPopUpBTN->currentText()));
    presets->setCurrentIndex(presets->count() > 0 ? 0 : -1);
}

void SelectionPanel::placeSelectionRectangle()
{
    QComboBox *presets = m_ui.presetPopUpBTN;
    const auto preset = presets->count() > 0 ? std::optional(presets->currentText()) : std::nullopt;
    m_ui.selectionRectangle->setSelectionFrame(
        CropPresets::placeSelection(preset, m_videoWidth, m_videoHeight, displayScale()));
}

void SelectionPanel::wideTallBTNClicked()
{
    m_ui.wideTallBTN->setText(m_ui.wideTallBTN->isChecked() ? u"Wide"_s : u"Tall"_s);
    fillAspectRatioPopUp();
    fillPresetPopUp();
    placeSelectionRectangle();
    updateCroppedLabel();
    Q_EMIT cropChanged();
}

void SelectionPanel::aspectRatioPopUpBTNChanged()
{
    fillPresetPopUp();
    placeSelectionRectangle();
    updateCroppedLabel();
    Q_EMIT cropChanged();
}

void SelectionPanel::presetPopUpBTNChanged()
{
    placeSelectionRectangle();
    updateCroppedLabel();
    Q_EMIT cropChanged();
}

void SelectionPanel::proportionalCBXClicked()
{
    // Ticked means free resizing; unticked keeps the aspect ratio.
    m_ui.selectionRectangle->setProportional(!m_ui.proportionalCBX->isChecked());
    Q_EMIT cropChanged();
}

void SelectionPanel::activityInSelectionRectangle()
{
    updateCroppedLabel();
    Q_EMIT cropChanged();
}
