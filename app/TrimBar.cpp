#include "TrimBar.h"

#include "util/TimeText.h"

#include <cmath>

using namespace Qt::StringLiterals;

TrimBar::TrimBar(QWidget *parent)
    : QWidget(parent)
{
    m_ui.setupUi(this);
    connect(m_ui.startTF, &QLineEdit::editingFinished, this, [this] { edited(true); });
    connect(m_ui.endTF, &QLineEdit::editingFinished, this, [this] { edited(false); });
    clear();
}

void TrimBar::setVideo(double duration, double frameDuration)
{
    m_duration = duration;
    m_frameDuration = frameDuration;
    m_trim = { 0, duration };
    m_ui.startTF->setEnabled(true);
    m_ui.endTF->setEnabled(true);
    show();
}

void TrimBar::clear()
{
    m_duration = 0;
    m_trim = {};
    m_ui.startTF->clear();
    m_ui.endTF->clear();
    m_ui.startTF->setEnabled(false);
    m_ui.endTF->setEnabled(false);
}

std::optional<Trim> TrimBar::trim() const
{
    // Times as shown are what counts: the whole video, to the millisecond, is no trim.
    const auto millis = [](double seconds) { return std::llround(seconds * 1000); };
    const bool whole = millis(m_trim.start) == 0 && millis(m_trim.end) == millis(m_duration);
    return whole || m_duration <= 0 ? std::nullopt : std::optional(m_trim);
}

void TrimBar::setStart(double seconds)
{
    apply({ seconds, m_trim.end }, true, TimeText::format(seconds));
}

void TrimBar::setEnd(double seconds)
{
    apply({ m_trim.start, seconds }, false, TimeText::format(seconds));
}

void TrimBar::edited(bool start)
{
    // A field loses its focus, and so finishes an edit, when the video goes.
    if (m_duration <= 0)
        return;
    QLineEdit *field = start ? m_ui.startTF : m_ui.endTF;
    const auto typed = TimeText::parse(field->text());
    if (!typed) {
        Q_EMIT notice(tr("“%1” is no time: write it as hh:mm:ss.mmm.").arg(field->text()));
        show();
        return;
    }
    apply(start ? Trim { *typed, m_trim.end } : Trim { m_trim.start, *typed }, start, field->text());
}

void TrimBar::apply(Trim wanted, bool startEdited, const QString &typed)
{
    if (m_duration <= 0)
        return;
    const Trim fitted = fittedTrim(wanted, m_duration, m_frameDuration, startEdited);
    const double asked = startEdited ? wanted.start : wanted.end;
    const double got = startEdited ? fitted.start : fitted.end;
    m_trim = fitted;
    show();
    if (std::abs(asked - got) >= 0.0005)
        Q_EMIT notice(tr("%1 %2 became %3: End comes after Start, both within the video (%4).").arg(
            startEdited ? tr("Start") : tr("End"), typed, TimeText::format(got), TimeText::format(m_duration)));
}

void TrimBar::setTrim(const std::optional<Trim> &trim)
{
    if (m_duration > 0) {
        m_trim = trim.value_or(Trim { 0, m_duration });
        show();
    }
}

void TrimBar::show()
{
    m_ui.startTF->setText(TimeText::format(m_trim.start));
    m_ui.endTF->setText(TimeText::format(m_trim.end));
    Q_EMIT trimChanged();
}
