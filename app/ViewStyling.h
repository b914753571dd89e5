#pragma once

#include <QColor>
#include <QSizeF>

#include <optional>

class QWidget;

// Eight styling properties that any widget can carry, as the views of the
// window description set them: background colour, border colour and width,
// corner radius (which also clips the widget to its rounded corners) and the
// four shadow attributes. They live on a layer that a widget gets when the
// first of them is set. Without a layer every reading is neutral (no colour,
// 0, an empty offset) and reading never creates one.
//
// In .ui files they are dynamic properties under these names; call
// adoptDynamicProperties() on the loaded window to apply them.
namespace ViewStyling {

bool isLayerBacked(const QWidget *view);
void makeLayerBacked(QWidget *view);

std::optional<QColor> backgroundColor(const QWidget *view);
void setBackgroundColor(QWidget *view, const std::optional<QColor> &color);
std::optional<QColor> borderColor(const QWidget *view);
void setBorderColor(QWidget *view, const std::optional<QColor> &color);
double borderWidth(const QWidget *view);
void setBorderWidth(QWidget *view, double width);
double cornerRadius(const QWidget *view);
// Cut to two decimals toward zero and made non-negative: 2.567 gives 2.56.
void setCornerRadius(QWidget *view, double radius);
bool masksToBounds(const QWidget *view);
std::optional<QColor> shadowColor(const QWidget *view);
void setShadowColor(QWidget *view, const std::optional<QColor> &color);
QSizeF shadowOffset(const QWidget *view);
void setShadowOffset(QWidget *view, QSizeF offset);
float shadowOpacity(const QWidget *view);
void setShadowOpacity(QWidget *view, float opacity);
double shadowRadius(const QWidget *view);
void setShadowRadius(QWidget *view, double radius);

// Applies the styling properties set as dynamic properties on root and its
// descendants; later changes to those properties apply as well.
void adoptDynamicProperties(QWidget *root);

} // namespace ViewStyling
