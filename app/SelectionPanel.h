#pragma once

#include "selection/CropGeometry.h"
#include "ui_SelectionPanel.h"

#include <QRect>
#include <QWidget>

#include <optional>

class MotionOverlay;

// The picture with the crop selection over it and the controls that shape the
// selection: wide/tall, ratio and preset pop-ups, free resize, the X, Y,
// Width and Height fields, the arrow keys, and the source and crop size
// labels. It holds the selection in video pixels, lays its holder over the
// picture whenever it resizes, and tells the outside one thing: the crop
// changed.
//
// Everything here is in the pixels the viewer sees: for a video of non-square
// pixels, the stored width stretched by the sample aspect.
class SelectionPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionPanel(QWidget *parent = nullptr);

    ImageDropView *posterView() const { return m_ui.posterView; }

    // The loaded state for a video of width × height stored pixels, starting
    // at the largest preset of the first ratio for its orientation.
    void setVideo(qint64 width, qint64 height, PixelShape aspect = {});
    // The empty state: no video, controls disabled, selection hidden.
    void clear();

    double displayScale() const;
    QSize croppedSize() const;
    // The crop as the viewer sees it: even, within the frame.
    QRect crop() const;
    // The same crop in the stored pixels, for the encoder.
    QRect storedCrop() const;
    QRect storedCropOf(const QRect &crop) const;
    // Makes the selection exactly crop, in stored pixels (square ones); a new size frees it of the ratio.
    void setStoredCrop(const QRect &crop);
    // Makes the selection exactly crop, in the pixels shown, as it is.
    void showCrop(const QRect &crop);
    // Looks for borders across the posters; selects the picture inside them, the
    // aspect unlocked, and gives the note that says what was done.
    QString selectContent(const QStringList &posters);
    // The output size to show beside the crop's, when it is scaled.
    void setOutputSize(std::optional<QSize> output);
    // The posters in slider order and the times of their pictures, for the motion map.
    void setPosters(const QStringList &paths, const QList<double> &times);
    // The motion map over the picture, under the veil, or not.
    void setMotionMapShown(bool shown);
    // Lines at the thirds of the crop, or not.
    void setGuidesShown(bool shown);

public Q_SLOTS:
    void wideTallBTNClicked();
    void aspectRatioPopUpBTNChanged();
    void presetPopUpBTNChanged();
    void proportionalCBXClicked();
    void activityInSelectionRectangle();

Q_SIGNALS:
    // The crop, or the way the selection resizes, changed.
    void cropChanged();
    // A short note for the status area, such as a typed number corrected.
    void notice(const QString &text);
    // A drag on the selection ended.
    void dragFinished();
    // The poster where the picture moves outside the crop, while the motion map shows; 0 when none.
    void movingOutside(int poster);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addKeys();
    void setControlsEnabled(bool enabled);
    void layoutSelectionHolder();
    void fillAspectRatioPopUp();
    void fillPresetPopUp();
    void placeSelectionRectangle();
    void setSelection(const QRectF &selection);
    QSizeF pictureSize() const;
    void showWhetherPresetsHold(QSize crop);
    void updateCroppedLabel();
    // The smallest crop the selection allows, in video pixels.
    QSize minimumCropSize() const;
    // Edits from the keyboard and the fields, in video pixels.
    void step(int dx, int dy, int dw, int dh);
    void applyTypedNumber(QSpinBox *field);
    void applyCrop(const QRect &wanted, bool widthGiven);

    Ui::SelectionPanel m_ui;
    qint64 m_storedWidth = 0;
    qint64 m_storedHeight = 0;
    PixelShape m_aspect;
    qint64 m_videoWidth = 0; // as the viewer sees it
    qint64 m_videoHeight = 0;
    QRectF m_selection; // the model: in video pixels as the viewer sees them
    std::optional<QSize> m_outputSize;
    MotionOverlay *m_motion = nullptr;
};
