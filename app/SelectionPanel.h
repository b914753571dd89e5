#pragma once

#include "ui_SelectionPanel.h"

#include <QRect>
#include <QWidget>

// The picture with the crop selection over it and the controls that shape the
// selection: wide/tall, ratio and preset pop-ups, free resize, and the source
// and crop size labels. It lays its holder over the picture at the display
// scale whenever it resizes, and tells the outside one thing: the crop changed.
class SelectionPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionPanel(QWidget *parent = nullptr);

    ImageDropView *posterView() const { return m_ui.posterView; }

    // The loaded state for a video of width × height pixels, starting at the
    // largest preset of the first ratio for its orientation.
    void setVideo(qint64 width, qint64 height);
    // The empty state: no video, controls disabled, selection hidden.
    void clear();

    double displayScale() const;
    QSize croppedSize() const;
    // The crop in video pixels: even, within the frame.
    QRect crop() const;

public Q_SLOTS:
    void wideTallBTNClicked();
    void aspectRatioPopUpBTNChanged();
    void presetPopUpBTNChanged();
    void proportionalCBXClicked();
    void activityInSelectionRectangle();

Q_SIGNALS:
    // The crop, or the way the selection resizes, changed.
    void cropChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setControlsEnabled(bool enabled);
    void layoutSelectionHolder();
    void fillAspectRatioPopUp();
    void fillPresetPopUp();
    void placeSelectionRectangle();
    void updateCroppedLabel();

    Ui::SelectionPanel m_ui;
    qint64 m_videoWidth = 0;
    qint64 m_videoHeight = 0;
    double m_layoutScale = 0; // the display scale the holder was last laid out with; 0 while empty
};
