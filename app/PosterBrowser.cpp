#include "PosterBrowser.h"

#include "ImageDropView.h"
#include "PosterStrip.h"
#include "SelectionPanel.h"
#include "TrimBar.h"
#include "ui_MainWindow.h"
#include "util/TimeText.h"

#include <QShortcut>

using namespace Qt::StringLiterals;

PosterBrowser::PosterBrowser(const PosterStrip *posters, QAction *sliderAction, Ui::MainWindow &ui, QWidget *window)
    : QObject(window)
    , m_posters(posters)
    , m_sliderAction(sliderAction)
    , m_slider(ui.posterPositionSlider)
    , m_time(ui.posterTimeLBL)
    , m_view(ui.selectionPanel->posterView())
    , m_trim(ui.trimBar)
{
    // Room for the longest text, so that the toolbar never shifts as it changes.
    m_time->setMinimumWidth(
        m_time->fontMetrics().horizontalAdvance(tr("%1 · %2 / %3").arg(u"00:00:00.000"_s).arg(11).arg(11))
        + 2 * m_time->margin());
    connect(m_slider, &QSlider::valueChanged, this, &PosterBrowser::showPoster);
    const auto key = [this, window](QChar letter, auto action) {
        auto *shortcut = new QShortcut(QKeySequence(QString(letter)), window);
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            if (m_enabled)
                action();
        });
    };
    key(u',', [this] { m_slider->setValue(m_slider->value() - 1); });
    key(u'.', [this] { m_slider->setValue(m_slider->value() + 1); });
    key(u'I', [this] { m_trim->setStart(m_posters->pictureTime(shownPoster())); });
    key(u'O', [this] { m_trim->setEnd(m_posters->pictureTime(shownPoster())); });
}

void PosterBrowser::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_sliderAction->setEnabled(enabled);
    m_slider->setEnabled(enabled);
    m_slider->setValue(6);
    if (!enabled)
        m_view->setImagePath(QString());
    showPoster();
}

int PosterBrowser::shownPoster() const
{
    return m_enabled ? m_posters->shownPoster(m_slider->value()) : 0;
}

void PosterBrowser::posterMade(int n)
{
    if (n <= m_slider->value())
        showPoster();
}

void PosterBrowser::showPoster()
{
    const int n = shownPoster();
    if (n == 0) {
        m_time->clear();
        return;
    }
    m_view->setImagePath(m_posters->framePath(n));
    m_time->setText(
        tr("%1 · %2 / %3").arg(TimeText::format(m_posters->pictureTime(n))).arg(n).arg(PosterExtractor::frameCount));
}
