#pragma once

#include <QString>

class QDialog;
class QWidget;

// The user's guide: the README's "Using Tessaly", shipped inside the application.
namespace UserGuide {

// The section under "## Using Tessaly" of markdown, up to the next section.
QString section(const QString &markdown);
// Shows the guide beside window, one at a time; Escape closes it.
QDialog *show(QWidget *window);

} // namespace UserGuide
