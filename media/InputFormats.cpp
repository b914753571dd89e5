#include "InputFormats.h"

#include "ToolDemuxers.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace InputFormats {

namespace {

const QStringList playlists { u"hls"_s, u"dash"_s, u"concat"_s, u"imf"_s, u"sdp"_s, u"rtsp"_s, u"rtp"_s };
const QStringList pictures { u"image2"_s };

} // namespace

Refusal refusalOf(const QString &formatName)
{
    for (const QString &name : formatName.split(u',')) {
        if (playlists.contains(name))
            return Refusal::playlist;
        if (pictures.contains(name))
            return Refusal::pictures;
    }
    return Refusal::none;
}

QStringList inputOptions(const QString &formatName)
{
    static const QString allowed = [] {
        QStringList names = QString::fromLatin1(toolDemuxers).split(u',');
        names.removeIf([](const QString &name) { return refusalOf(name) != Refusal::none; });
        return names.join(u',');
    }();
    const bool known = !formatName.isEmpty() && refusalOf(formatName) == Refusal::none;
    return { u"-protocol_whitelist"_s, u"file"_s, u"-format_whitelist"_s, known ? formatName : allowed };
}

namespace {

// Whether a format's names ("mov,mp4,m4a,…") include one of names.
bool isOneOf(const QString &formatName, const QStringList &names)
{
    const QStringList own = formatName.split(u',');
    return std::any_of(own.cbegin(), own.cend(), [&](const QString &name) { return names.contains(name); });
}

} // namespace

bool seeksByIndex(const QString &formatName)
{
    return isOneOf(formatName, { u"mov"_s, u"matroska"_s, u"avi"_s, u"flv"_s, u"asf"_s });
}

bool describesStreams(const QString &formatName)
{
    return isOneOf(formatName, { u"mov"_s, u"matroska"_s });
}

double seekLead(const QString &formatName)
{
    return seeksByIndex(formatName) ? 0 : 10;
}

bool countsEveryFrame(const QString &formatName)
{
    return formatName == u"avi";
}

std::optional<QString> refusedIn(const QString &messages)
{
    static const QRegularExpression refused(u"^\\[([^ \\]]+) @ [^\\]]*\\] (?:\\[[a-z]+\\] )?Format not on whitelist"_s,
                                            QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = refused.match(messages);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

} // namespace InputFormats
