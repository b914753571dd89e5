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

protected:
    void paintEvent(QPaintEvent *event) override;
};
