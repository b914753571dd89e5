#include "OutputSettingsWindow.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString videoKey = u"output/video"_s;
const QString qualityKey = u"output/quality"_s;
const QString speedKey = u"output/speed"_s;
const QString audioKey = u"output/audio"_s;
const QString subtitlesKey = u"output/subtitles"_s;
const QString chaptersKey = u"output/chapters"_s;

} // namespace

OutputSettingsWindow::OutputSettingsWindow(QWidget *window, QSettings *settings)
    : QDialog(window)
    , m_settings(settings)
{
    m_ui.setupUi(this);
#ifdef Q_OS_MACOS
    setWindowFlag(Qt::Sheet);
#endif
    setWindowModality(Qt::WindowModal);
    const OutputSettings defaults;
    m_ui.videoCodecPopUpBTN->setCurrentIndex(m_settings->value(videoKey, int(defaults.videoCodec)).toInt());
    m_ui.qualitySlider->setValue(m_settings->value(qualityKey, defaults.quality).toInt());
    m_ui.speedPopUpBTN->setCurrentIndex(m_settings->value(speedKey, int(defaults.speed)).toInt());
    m_ui.audioPopUpBTN->setCurrentIndex(m_settings->value(audioKey, int(defaults.audio)).toInt());
    m_ui.subtitlesCBX->setChecked(m_settings->value(subtitlesKey, defaults.subtitles).toBool());
    m_ui.chaptersCBX->setChecked(m_settings->value(chaptersKey, defaults.chapters).toBool());
    m_ui.qualityLBL->setText(qualityName(m_ui.qualitySlider->value()));

    connect(m_ui.qualitySlider, &QSlider::valueChanged, this, [this](int mark) {
        m_ui.qualityLBL->setText(qualityName(mark));
        save();
    });
    for (QComboBox *box : { m_ui.videoCodecPopUpBTN, m_ui.speedPopUpBTN, m_ui.audioPopUpBTN })
        connect(box, &QComboBox::currentIndexChanged, this, &OutputSettingsWindow::save);
    for (QCheckBox *box : { m_ui.subtitlesCBX, m_ui.chaptersCBX })
        connect(box, &QCheckBox::toggled, this, &OutputSettingsWindow::save);
    connect(m_ui.closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

OutputSettings OutputSettingsWindow::outputSettings() const
{
    OutputSettings settings;
    settings.videoCodec = OutputSettings::VideoCodec(std::clamp(m_ui.videoCodecPopUpBTN->currentIndex(), 0, 2));
    settings.quality = m_ui.qualitySlider->value();
    settings.speed = OutputSettings::Speed(std::clamp(m_ui.speedPopUpBTN->currentIndex(), 0, 2));
    settings.audio = OutputSettings::Audio(std::clamp(m_ui.audioPopUpBTN->currentIndex(), 0, 1));
    settings.subtitles = m_ui.subtitlesCBX->isChecked();
    settings.chapters = m_ui.chaptersCBX->isChecked();
    return settings;
}

QString OutputSettingsWindow::qualityName(int mark)
{
    const QString names[] = { tr("Smaller"), tr("Small"), tr("Good"), tr("High"), tr("Visually lossless") };
    return names[std::clamp(mark, 0, int(std::size(names)) - 1)];
}

void OutputSettingsWindow::save()
{
    const OutputSettings settings = outputSettings();
    m_settings->setValue(videoKey, int(settings.videoCodec));
    m_settings->setValue(qualityKey, settings.quality);
    m_settings->setValue(speedKey, int(settings.speed));
    m_settings->setValue(audioKey, int(settings.audio));
    m_settings->setValue(subtitlesKey, settings.subtitles);
    m_settings->setValue(chaptersKey, settings.chapters);
}
