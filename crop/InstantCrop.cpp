#include "InstantCrop.h"

#include "media/InputFormats.h"
#include "util/Numbers.h"

#include <QHash>
#include <QMargins>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace InstantCrop {

namespace {

// The chroma's sample spacing, across and down ("yuv420p10le": 2 and 2; "yuv422p": 2 and 1).
QSize chromaUnit(const QString &pixelFormat)
{
    if (pixelFormat.contains(u"444"_s) || pixelFormat.startsWith(u"gray"_s))
        return { 1, 1 };
    if (pixelFormat.contains(u"422"_s))
        return { 2, 1 };
    return { 2, 2 };
}

int nearest(double value, int unit)
{
    return int(std::lround(value / unit)) * unit;
}

} // namespace

bool cropsInHeader(const QString &codec)
{
    return codec == u"h264" || codec == u"hevc";
}

QRect snapped(const QRect &wanted, QSize frame, const PictureColour &colour)
{
    const QSize unit = chromaUnit(colour.pixelFormat);
    const bool plain = colour.bitDepth <= 8 && unit == QSize(2, 2);
    int left = std::clamp(nearest(wanted.left(), 64), 0, std::max(0, (frame.width() - unit.width()) / 64 * 64));
    // An even multiple of 64 may meet the top edge's offset at a wrong alignment, but for 8-bit 4:2:0.
    if (!plain && left > 0 && left % 128 == 0) {
        const int down = left - 64, up = left + 64;
        const bool upFits = up + unit.width() <= frame.width();
        left = upFits && std::abs(up - wanted.left()) < std::abs(down - wanted.left()) ? up : down;
    }
    // The size chosen stays where it fits: a preset's 1600 x 900 moves, it does not shrink.
    const int top = std::clamp(nearest(wanted.top(), unit.height()), 0, frame.height() - unit.height());
    const int width = std::clamp(nearest(wanted.width(), unit.width()), unit.width(),
                                 (frame.width() - left) / unit.width() * unit.width());
    const int height = std::clamp(nearest(wanted.height(), unit.height()), unit.height(),
                                  (frame.height() - top) / unit.height() * unit.height());
    return QRect(left, top, width, height);
}

std::optional<CodedPicture> codedPicture(const QStringList &trace)
{
    // "[trace_headers @ 0x5581] 41     pic_width_in_mbs_minus1     000010100 = 19"
    static const QRegularExpression field(u"\\]\\s+\\d+\\s+(\\w+)\\s+[01]+ = (\\d+)$"_s);
    QHash<QString, int> values;
    for (const QString &line : trace) {
        const QRegularExpressionMatch match = field.match(line);
        if (match.hasMatch() && !values.contains(match.captured(1)))
            values.insert(match.captured(1), match.captured(2).toInt());
    }
    const int chroma = values.value(u"chroma_format_idc"_s, 1);
    const int across = chroma == 1 || chroma == 2 ? 2 : 1, down = chroma == 1 ? 2 : 1;
    QSize size;
    QMargins window; // in units of across and down
    QSize unit(across, down);
    if (values.contains(u"pic_width_in_mbs_minus1"_s)) { // H.264
        const int fieldPairs = 2 - values.value(u"frame_mbs_only_flag"_s, 1);
        size = QSize((values.value(u"pic_width_in_mbs_minus1"_s) + 1) * 16,
                     (values.value(u"pic_height_in_map_units_minus1"_s) + 1) * 16 * fieldPairs);
        unit = chroma == 0 ? QSize(1, fieldPairs) : QSize(across, down * fieldPairs);
        window = QMargins(values.value(u"frame_crop_left_offset"_s), values.value(u"frame_crop_top_offset"_s),
                          values.value(u"frame_crop_right_offset"_s), values.value(u"frame_crop_bottom_offset"_s));
    } else if (values.contains(u"pic_width_in_luma_samples"_s)) { // HEVC
        size = QSize(values.value(u"pic_width_in_luma_samples"_s), values.value(u"pic_height_in_luma_samples"_s));
        window = QMargins(values.value(u"conf_win_left_offset"_s), values.value(u"conf_win_top_offset"_s),
                          values.value(u"conf_win_right_offset"_s), values.value(u"conf_win_bottom_offset"_s));
    }
    if (size.isEmpty())
        return std::nullopt;
    const QMargins pixels(window.left() * unit.width(), window.top() * unit.height(), window.right() * unit.width(),
                          window.bottom() * unit.height());
    const QRect shown = QRect(QPoint(), size).marginsRemoved(pixels);
    if (shown.isEmpty())
        return std::nullopt;
    return CodedPicture { size, shown };
}

QStringList traceArguments(const QString &path, qint64 stream, const QString &format)
{
    // The filter logs what it reads at the debug level, the parameter sets first.
    return QStringList { u"-v"_s, u"debug"_s } + InputFormats::inputOptions(format)
        + QStringList { u"-i"_s, path, u"-map"_s, u"0:"_s + QString::number(stream), u"-c"_s, u"copy"_s, u"-bsf"_s,
                        u"trace_headers"_s, u"-frames"_s, u"1"_s, u"-f"_s, u"null"_s, u"-"_s };
}

QString bitstreamFilter(const QString &codec, const QRect &crop, const CodedPicture &picture)
{
    const QRect window = crop.translated(picture.shown.topLeft());
    return u"%1_metadata=crop_left=%2:crop_right=%3:crop_top=%4:crop_bottom=%5"_s.arg(codec)
        .arg(window.left())
        .arg(picture.size.width() - window.left() - window.width())
        .arg(window.top())
        .arg(picture.size.height() - window.top() - window.height());
}

QStringList keyframeListing(const QString &path, qint64 stream, const QString &format, double startTime, double from,
                            double time)
{
    return InputFormats::inputOptions(format)
        + QStringList { u"-v"_s, u"error"_s, u"-select_streams"_s, QString::number(stream), u"-read_intervals"_s,
                        decimalText(startTime + from) + u'%' + decimalText(startTime + time + 0.1),
                        u"-show_entries"_s, u"format=start_time:packet=pts_time,flags"_s, u"-of"_s, u"csv=p=0"_s,
                        path };
}

double keyframeAtOrBefore(const QList<double> &keyframes, double time)
{
    const auto after = std::upper_bound(keyframes.cbegin(), keyframes.cend(), time + 5e-4);
    return after == keyframes.cbegin() ? time : *(after - 1);
}

} // namespace InstantCrop
