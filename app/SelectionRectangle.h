#pragma once

#include <QWidget>

// The crop frame over the poster as the holder places it: it draws its
// outline and handles, and lets the pointer through to the holder, which
// does the grabbing.
class SelectionRectangle : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionRectangle(QWidget *holder = nullptr);

    // Lines at the thirds, to compose the crop by.
    void setGuides(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_guides = false;
};
