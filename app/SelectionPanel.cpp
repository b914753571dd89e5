#include "SelectionPanel.h"

#include "MotionOverlay.h"
#include "selection/BorderDetection.h"
#include "selection/CropPresets.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

using namespace Qt::StringLiterals;

SelectionPanel::SelectionPanel(QWidget *parent)
    : QWidget(parent)
{
    m_ui.setupUi(this);
    connect(m_ui.wideTallBTN, &QPushButton::clicked, this, &SelectionPanel::wideTallBTNClicked);
    connect(m_ui.aspectRationPopUpBTN, &QComboBox::activated, this, &SelectionPanel::aspectRatioPopUpBTNChanged);
    connect(m_ui.presetPopUpBTN, &QComboBox::activated, this, &SelectionPanel::presetPopUpBTNChanged);
    connect(m_ui.proportionalCBX, &QCheckBox::clicked, this, &SelectionPanel::proportionalCBXClicked);
    connect(m_ui.selectionRectangleHolder, &SelectionHolder::activityInSelectionRectangle, this,
            &SelectionPanel::activityInSelectionRectangle);
    connect(m_ui.selectionRectangleHolder, &SelectionHolder::selectionDrawn, this,
            &SelectionPanel::activityInSelectionRectangle);
    connect(m_ui.selectionRectangleHolder, &SelectionHolder::dragFinished, this, &SelectionPanel::dragFinished);
    m_motion = new MotionOverlay(m_ui.selectionRectangleHolder, this);
    connect(m_motion, &MotionOverlay::notice, this, &SelectionPanel::notice);
    connect(m_motion, &MotionOverlay::movingOutside, this, &SelectionPanel::movingOutside);
    // While the motion map shows, it says when the picture moves outside the crop.
    connect(this, &SelectionPanel::cropChanged, this, [this] {
        if (m_videoWidth > 0)
            m_motion->check(QRectF(m_selection.x() / m_videoWidth, m_selection.y() / m_videoHeight,
                                   m_selection.width() / m_videoWidth, m_selection.height() / m_videoHeight));
    });
    connect(m_ui.posterView, &ImageDropView::imagePathChanged, m_ui.selectionRectangleHolder,
            &SelectionHolder::setPosterPath);
    // A click on the picture gives the arrow keys back to the selection.
    m_ui.posterView->setFocusPolicy(Qt::ClickFocus);
    m_ui.aspectRationPopUpBTN->setPlaceholderText(tr("Custom"));
    m_ui.presetPopUpBTN->setPlaceholderText(tr("Custom"));
    for (QSpinBox *field : { m_ui.xField, m_ui.yField, m_ui.widthField, m_ui.heightField }) {
        // A file dropped on a field opens, as anywhere on the window.
        field->findChild<QLineEdit *>()->setAcceptDrops(false);
        field->installEventFilter(this);
        connect(field, &QSpinBox::valueChanged, this, [this, field] { applyTypedNumber(field); });
    }
    addKeys();
}

void SelectionPanel::addKeys()
{
    // Arrows move the selection, Alt+arrows its right or bottom edge; Shift makes steps of 20 video pixels.
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
    m_ui.inputResolutionTF->setText(CropGeometry::sourceLabelText(0, 0));
    m_ui.outputResolutionTF->setText(CropGeometry::croppedLabelText(QSize(0, 0)));
    m_ui.proportionalCBX->setChecked(true);
    m_ui.proportionalCBX->setEnabled(enabled);
    m_ui.aspectRationPopUpBTN->setEnabled(enabled);
    m_ui.presetPopUpBTN->setEnabled(enabled);
    m_ui.wideTallBTN->setEnabled(enabled);
    m_ui.wideTallBTN->setText(tr("Wide"));
    for (QSpinBox *field : { m_ui.xField, m_ui.yField, m_ui.widthField, m_ui.heightField })
        field->setEnabled(enabled);
    const auto keys = findChildren<QShortcut *>();
    for (QShortcut *key : keys)
        key->setEnabled(enabled);
}

void SelectionPanel::clear()
{
    m_storedWidth = m_storedHeight = m_videoWidth = m_videoHeight = 0;
    m_outputSize.reset();
    setPosters({}, {});
    setControlsEnabled(false);
}

void SelectionPanel::setPosters(const QStringList &paths, const QList<double> &times)
{
    m_motion->setPosters(paths, times);
}

void SelectionPanel::setMotionMapShown(bool shown)
{
    m_motion->setShown(shown);
}

void SelectionPanel::setGuidesShown(bool shown)
{
    m_ui.selectionRectangle->setGuides(shown);
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
    m_ui.selectionRectangleHolder->setProportional(false);
    m_ui.inputResolutionTF->setText(CropGeometry::sourceLabelText(m_videoWidth, m_videoHeight));
    layoutSelectionHolder();
    m_ui.aspectRationPopUpBTN->clear();
    // A square video counts as tall.
    m_ui.wideTallBTN->setChecked(m_videoHeight < m_videoWidth);
    wideTallBTNClicked();
}

void SelectionPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_videoWidth > 0)
        layoutSelectionHolder();
}

void SelectionPanel::layoutSelectionHolder()
{
    const QSize area = m_ui.posterView->size();
    const QRect holder = CropGeometry::holderFrame(m_videoWidth, m_videoHeight, area.width(), area.height()).toRect();
    m_ui.selectionRectangleHolder->setGeometry(holder);
    m_ui.selectionRectangleHolder->setPicture(pictureSize());
    m_ui.posterView->setPictureRect(holder);
}

double SelectionPanel::displayScale() const
{
    const QSize area = m_ui.posterView->size();
    return CropGeometry::displayScale(m_videoWidth, m_videoHeight, area.width(), area.height());
}

QSizeF SelectionPanel::pictureSize() const
{
    return QSizeF(double(m_videoWidth), double(m_videoHeight));
}

void SelectionPanel::setSelection(const QRectF &selection)
{
    m_selection = selection;
    m_ui.selectionRectangleHolder->setSelection(selection);
}

QSize SelectionPanel::croppedSize() const
{
    return crop().size();
}

QRect SelectionPanel::crop() const
{
    return CropGeometry::cropRect(m_selection, m_videoWidth, m_videoHeight);
}

QRect SelectionPanel::storedCrop() const
{
    return storedCropOf(crop());
}

QRect SelectionPanel::storedCropOf(const QRect &crop) const
{
    return CropGeometry::storedCrop(crop, m_aspect, QSize(int(m_storedWidth), int(m_storedHeight)));
}

void SelectionPanel::setStoredCrop(const QRect &crop)
{
    // A new size may not keep the locked ratio: the lock gives way rather than the crop.
    if (crop.size() != storedCrop().size() && !m_ui.proportionalCBX->isChecked()) {
        m_ui.proportionalCBX->setChecked(true);
        proportionalCBXClicked();
    }
    applyCrop(crop, true);
}

void SelectionPanel::showCrop(const QRect &crop)
{
    if (m_videoWidth <= 0 || crop == this->crop())
        return;
    setSelection(QRectF(crop));
    activityInSelectionRectangle();
}

QString SelectionPanel::selectContent(const QStringList &posters)
{
    const auto content =
        BorderDetection::cropFor(posters, QSize(int(m_videoWidth), int(m_videoHeight)), minimumCropSize());
    if (!content)
        return tr("No border found: the selection is as it was.");
    m_ui.proportionalCBX->setChecked(true);
    proportionalCBXClicked();
    applyCrop(*content, true);
    const QRect found = crop();
    return tr("Borders found: the selection is now the picture inside them, %1 x %2 at %3, %4.")
        .arg(found.width())
        .arg(found.height())
        .arg(found.x())
        .arg(found.y());
}

void SelectionPanel::setOutputSize(std::optional<QSize> output)
{
    m_outputSize = output;
    updateCroppedLabel();
}

QSize SelectionPanel::minimumCropSize() const
{
    const QSizeF least = SelectionGeometry::minimumIn(pictureSize());
    const auto even = [](double side) { return int(side) - int(side) % 2; };
    return { even(least.width()), even(least.height()) };
}

void SelectionPanel::step(int dx, int dy, int dw, int dh)
{
    if (m_videoWidth <= 0)
        return;
    const bool resizes = dw != 0 || dh != 0;
    const bool locked = resizes && m_ui.selectionRectangleHolder->isProportional();
    const QRectF stepped =
        SelectionGeometry::keyStep(m_selection, QPoint(dx, dy), QPoint(dw, dh), locked, pictureSize());
    if (stepped == m_selection) {
        if (!resizes)
            return;
        const QSize least = minimumCropSize();
        Q_EMIT notice(dw + dh < 0 ? tr("The crop cannot be smaller than %1 x %2.").arg(least.width()).arg(least.height())
                      : locked    ? tr("The crop cannot grow that way and keep its ratio: it is at the picture's edge.")
                                  : tr("The crop cannot grow that way: it is at the picture's edge."));
        return;
    }
    setSelection(stepped);
    activityInSelectionRectangle();
}

bool SelectionPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Escape in a number field gives the arrow keys back to the selection.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && qobject_cast<QSpinBox *>(watched)) {
        m_ui.selectionRectangleHolder->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
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
    const QString note = m_ui.selectionRectangleHolder->isProportional()
        ? tr("%1 %2 became %3: the crop stays even, inside the picture, at least %4 x %5, and keeps its ratio.")
        : tr("%1 %2 became %3: the crop stays even, inside the picture, at least %4 x %5.");
    Q_EMIT notice(note.arg(name).arg(typed).arg(field->value()).arg(least.width()).arg(least.height()));
}

void SelectionPanel::applyCrop(const QRect &wanted, bool widthGiven)
{
    if (m_videoWidth <= 0)
        return;
    const auto ratio = m_ui.selectionRectangleHolder->isProportional()
        ? std::optional(m_selection.width() / m_selection.height())
        : std::nullopt;
    const QRect fitted = CropGeometry::fittedCrop(wanted, QSize(int(m_videoWidth), int(m_videoHeight)),
                                                  minimumCropSize(), ratio, widthGiven);
    setSelection(QRectF(fitted));
    activityInSelectionRectangle();
}

void SelectionPanel::updateCroppedLabel()
{
    const QRect c = crop();
    QString text = CropGeometry::croppedLabelText(c.size());
    if (m_outputSize)
        text += u" → %1 x %2"_s.arg(m_outputSize->width()).arg(m_outputSize->height());
    m_ui.outputResolutionTF->setText(text);
    showWhetherPresetsHold(c.size());
    // The fields follow the selection; what they show is never taken back as typed.
    const std::pair<QSpinBox *, int> values[] = { { m_ui.xField, c.x() }, { m_ui.yField, c.y() },
                                                  { m_ui.widthField, c.width() }, { m_ui.heightField, c.height() } };
    for (const auto &[field, value] : values) {
        const QSignalBlocker blocker(field);
        field->setValue(value);
    }
}

void SelectionPanel::showWhetherPresetsHold(QSize crop)
{
    // Once the selection is no longer the chosen ratio or preset, the pop-ups say so.
    QComboBox *ratios = m_ui.aspectRationPopUpBTN;
    QComboBox *presets = m_ui.presetPopUpBTN;
    if (ratios->currentIndex() >= 0 && !CropPresets::fitsRatio(crop, ratios->currentText()))
        ratios->setCurrentIndex(-1);
    if (presets->currentIndex() >= 0 && presets->currentText() != CropPresets::presetTitle(crop))
        presets->setCurrentIndex(-1);
}

void SelectionPanel::fillAspectRatioPopUp()
{
    // The lists hold each other's transposes at the same places: 4:3 turns into 3:4.
    QComboBox *ratios = m_ui.aspectRationPopUpBTN;
    const int chosen = std::max(0, ratios->currentIndex());
    ratios->clear();
    ratios->addItems(m_ui.wideTallBTN->isChecked() ? CropPresets::wideRatios() : CropPresets::tallRatios());
    ratios->setCurrentIndex(chosen);
}

void SelectionPanel::fillPresetPopUp()
{
    QComboBox *presets = m_ui.presetPopUpBTN;
    presets->clear();
    presets->addItems(
        CropPresets::presetTitles(m_videoWidth, m_videoHeight, m_ui.aspectRationPopUpBTN->currentText()));
    presets->setPlaceholderText(tr("Custom"));
    presets->setCurrentIndex(presets->count() > 0 ? 0 : -1);
}

void SelectionPanel::placeSelectionRectangle()
{
    QComboBox *presets = m_ui.presetPopUpBTN;
    const auto preset = presets->count() > 0 ? std::optional(presets->currentText()) : std::nullopt;
    setSelection(CropPresets::placeSelection(preset, m_videoWidth, m_videoHeight));
}

void SelectionPanel::wideTallBTNClicked()
{
    m_ui.wideTallBTN->setText(m_ui.wideTallBTN->isChecked() ? tr("Wide") : tr("Tall"));
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
    m_ui.selectionRectangleHolder->setProportional(!m_ui.proportionalCBX->isChecked());
    Q_EMIT cropChanged();
}

void SelectionPanel::activityInSelectionRectangle()
{
    m_selection = m_ui.selectionRectangleHolder->selection();
    updateCroppedLabel();
    Q_EMIT cropChanged();
}
