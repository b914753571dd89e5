#pragma once

#include <QString>
#include <QStringList>

// One stream of a file as the output is planned from it.
struct MediaStream
{
    enum class Type { video, audio, subtitle, data, attachment, other };

    qint64 index = 0;       // in the file, as "-map 0:N" names it
    Type type = Type::other;
    QString codec;          // as the tools name it ("aac", "subrip", "hdmv_pgs_subtitle" ...)
    int channels = 0;
    QString channelLayout;  // "5.1(side)", "stereo" ...
    QString language;       // ISO 639-2, as tagged ("eng"); empty when untagged
    QString title;
    QStringList dispositions; // those set: "default", "forced", "hearing_impaired" ...
    bool isAttachedPicture = false;
};

// The facts of the picture that its depth and colour are kept by.
struct PictureColour
{
    QString pixelFormat; // "yuv420p10le" ...
    int bitDepth = 8;
    QString range;       // "tv", "pc"; empty when unsaid
    QString matrix;      // "bt2020nc" ...
    QString transfer;    // "smpte2084" (PQ), "arib-std-b67" (HLG) ...
    QString primaries;   // "bt2020" ...
    bool dolbyVision = false; // a Dolby Vision configuration travels with the stream

    bool isHdr() const { return transfer == u"smpte2084" || transfer == u"arib-std-b67"; }
};

// HDR10's static metadata as x265 takes it, and whether dynamic metadata
// (HDR10+) travels with the pictures, read from the first picture.
struct HdrMetadata
{
    QString masteringDisplay; // "G(13250,34500)B(7500,3000)R(34000,16000)WP(15635,16450)L(10000000,1)"
    QString contentLight;     // "1000,400": the brightest picture's, and the brightest average
    bool dynamic = false;     // HDR10+
};
