#include "SelectionPanel.h"

#include "selection/CropPresets.h"

#include <QLineEdit>
#include <QShortcut>

#include <cmath>

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
    connect(m_ui.selectionRectangleHolder, &SelectionHolder::selectionDrawn, this,
            &SelectionPanel::activityInSelectionRectangle);
    for (QSpinBox *field : { m_ui.xField, m_ui.yField, m_ui.widthField, m_ui.heightField }) {
        // A file dropped on a field opens, as anywhere on the window.
        field->findChild<QLineEdit *>()->setAcceptDrops(false);
        connect(field, &QSpinBox::valueChanged, this, [this, field] { applyTypedNumber(field); });
    }
    addKeys();
}

void SelectionPanel::addKeys()
{
    // Arrows move the selection, Alt+arrows its right or bottom edge; Shift makes steps of 20.
    const struct
    {
        Qt::Key key;
        int dx, dy;
    } arrows[] = { { Qt::Key_Left, -1, 0 }, { Qt::Key_Right, 1, 0 }, { Qt::Key_Up, 0, -1 }, { Qt::Key_Down, 0, 1 } };
    for (const auto &arrow : arrows) {
        for (const int size : { 2, 20 }) {
            const Qt::KeyboardModifiers shift = size == 20 ? Qt::ShiftModifier : Qt::NoModifier;
            auto *move = new QShortcut(QKeySequence(QKeyCombination(shift, arrow.key)), this);
            connect(move, &QShortcut::activated, this,
                    [this, arrow, size] { step(arrow.dx * size, arrow.dy * size, 0, 0); });
            auto *resize = new QShortcut(QKeySequence(QKeyCombination(shift | Qt::AltModifier, arrow.key)), this);
            connect(resize, &QShortcut::activated, this,
                    [this, arrow, size] { step(0, 0, arrow.dx * size, arrow.dy * size); });
        }
    }
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
    for (QSpinBox *field : { m_ui.xField, m_ui.yField, m_ui.widthField, m_ui.heightField })
        field->setEnabled(enabled);
    const auto keys = findChildren<QShortcut *>();
    for (QShortcut *key : keys)
        key->setEnabled(enabled);
}

void SelectionPanel::clear()
{
    m_storedWidth = m_storedHeight = m_videoWidth = m_videoHeight = 0;
    m_layoutScale = 0;
    m_outputSize.reset();
    setControlsEnabled(false);
}

void SelectionPanel::setVideo(qint64 width, qint64 height, PixelShape aspect)
{
    m_storedWidth = width;
    m_storedHeight = height;
    m_aspect = aspect;
    const QSize shown = CropGeometry::displaySize(width, height, aspect);
    m_videoWidth = shown.width();
    m_videoHeight = shown.height();
    m_outputSize.reset();
    setControlsEnabled(true);
    m_ui.selectionRectangle->setProportional(false);
    m_ui.inputResolutionTF->setText(CropGeometry::sourceLabelText(m_videoWidth, m_videoHeight));
    layoutSelectionHolder();
    // A square video counts as tall.
    m_ui.wideTallBTN->setChecked(m_videoHeight < m_videoWidth);
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

QRect SelectionPanel::storedCrop() const
{
    return CropGeometry::storedCrop(crop(), m_aspect, QSize(int(m_storedWidth), int(m_storedHeight)));
}

void SelectionPanel::selectFreely(const QRect &displayed)
{
    m_ui.proportionalCBX->setChecked(true);
    proportionalCBXClicked();
    applyCrop(displayed, true);
}

void SelectionPanel::setOutputSize(std::optional<QSize> output)
{
    m_outputSize = output;
    updateCroppedLabel();
}

QSize SelectionPanel::minimumCropSize() const
{
    // The selection's minimum on screen, in video pixels, rounded up to even.
    const double s = displayScale();
    const auto pixels = [s](double points) { return int(2 * std::ceil(points / s / 2)); };
    return { pixels(std::min(SelectionGeometry::minimumSide, m_videoWidth * s)),
             pixels(std::min(SelectionGeometry::minimumSide, m_videoHeight * s)) };
}

void SelectionPanel::step(int dx, int dy, int dw, int dh)
{
    applyCrop(crop().translated(dx, dy).adjusted(0, 0, dw, dh), dh == 0);
}

void SelectionPanel::applyTypedNumber(QSpinBox *field)
{
    const int typed = field->value();
    QRect wanted = crop();
    if (field == m_ui.xField)
        wanted.moveLeft(typed);
    else if (field == m_ui.yField)
        wanted.moveTop(typed);
    else if (field == m_ui.widthField)
        wanted.setWidth(typed);
    else
        wanted.setHeight(typed);
    applyCrop(wanted, field != m_ui.heightField);
    if (field->value() == typed)
        return;
    const QSize least = minimumCropSize();
    const QString name = findChild<QLabel *>(field->objectName() + u"Label"_s)->text();
    Q_EMIT notice(u"%1 %2 became %3: the crop stays even, inside the picture, at least %4 x %5"_s.arg(name)
                      .arg(typed)
                      .arg(field->value())
                      .arg(least.width())
                      .arg(least.height())
                  + (m_ui.selectionRectangle->isProportional() ? u", and keeps its ratio."_s : u"."_s));
}

void SelectionPanel::applyCrop(const QRect &wanted, bool widthGiven)
{
    if (m_layoutScale <= 0)
        return;
    const QRect current = crop();
    const auto ratio = m_ui.selectionRectangle->isProportional()
        ? std::optional(double(current.width()) / current.height())
        : std::nullopt;
    const QRect fitted = CropGeometry::fittedCrop(wanted, QSize(int(m_videoWidth), int(m_videoHeight)),
                                                  minimumCropSize(), ratio, widthGiven);
    m_ui.selectionRectangle->setSelectionFrame(CropGeometry::selectionFrame(fitted, displayScale(), m_videoHeight));
    m_ui.selectionRectangleHolder->update();
    activityInSelectionRectangle();
}

void SelectionPanel::updateCroppedLabel()
{
    const QRect c = crop();
    QString text = CropGeometry::croppedLabelText(c.size());
    if (m_outputSize)
        text += u" → %1 x %2"_s.arg(m_outputSize->width()).arg(m_outputSize->height());
    m_ui.outputResolutionTF->setText(text);
    // The fields follow the selection; what they show is never taken back as typed.
    const std::pair<QSpinBox *, int> values[] = { { m_ui.xField, c.x() }, { m_ui.yField, c.y() },
                                                  { m_ui.widthField, c.width() }, { m_ui.heightField, c.height() } };
    for (const auto &[field, value] : values) {
        const QSignalBlocker blocker(field);
        field->setValue(value);
    }
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
    m_ui.selectionRectangleHolder->update();
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
