#include "OutputSettings.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

std::optional<Container> containerOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"mp4" || suffix == u"m4v")
        return Container::mp4;
    if (suffix == u"mov")
        return Container::mov;
    if (suffix == u"mkv")
        return Container::mkv;
    return std::nullopt;
}

QString extensionOf(Container container)
{
    switch (container) {
    case Container::mp4:
        return u"mp4"_s;
    case Container::mov:
        return u"mov"_s;
    case Container::mkv:
        return u"mkv"_s;
    }
    return {};
}
