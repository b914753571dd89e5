#include "UserGuide.h"

#include "Alerts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace UserGuide {

QString section(const QString &markdown)
{
    const QString heading = u"## Using Tessaly\n"_s;
    const qsizetype start = markdown.indexOf(heading);
    if (start < 0)
        return QString();
    const qsizetype end = markdown.indexOf(u"\n## "_s, start + heading.size());
    return markdown.mid(start + 1, end < 0 ? -1 : end - start);
}

QDialog *show(QWidget *window)
{
    if (auto *open = window->findChild<QDialog *>(u"UserGuide"_s)) {
        open->raise();
        open->activateWindow();
        return open;
    }
    auto *guide = new QDialog(window);
    guide->setObjectName(u"UserGuide"_s);
    guide->setAttribute(Qt::WA_DeleteOnClose);
    guide->setWindowTitle(QCoreApplication::translate("UserGuide", "Tessaly Help"));
    guide->resize(640, 560);
    auto *text = new QTextBrowser(guide);
    text->setOpenExternalLinks(true);
    QFile readme(u":/guide/README.md"_s);
    const QString body = readme.open(QIODevice::ReadOnly) ? section(QString::fromUtf8(readme.readAll())) : QString();
    text->setMarkdown(body + u"\n\n"_s
                      + QCoreApplication::translate("UserGuide", "Questions? Write to %1.")
                            .arg(QString::fromLatin1(Alerts::supportAddress)));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, guide);
    QObject::connect(buttons, &QDialogButtonBox::rejected, guide, &QDialog::reject);
    auto *layout = new QVBoxLayout(guide);
    layout->addWidget(text);
    layout->addWidget(buttons);
    guide->show();
    return guide;
}

} // namespace UserGuide
