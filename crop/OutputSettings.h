#pragma once

#include <QString>

#include <optional>

// The containers a crop is written in, chosen by the name's extension.
enum class Container { mp4, mov, mkv };

// ".mp4", ".m4v", ".mov", ".mkv" give their container, whatever their case; nothing for another name.
std::optional<Container> containerOf(const QString &path);
// "mp4", "mov", "mkv".
QString extensionOf(Container container);

// How the crop is written, as the user chose it; remembered between crops.
struct OutputSettings
{
    enum class VideoCodec { automatic, h264, hevc }; // automatic: HEVC 10-bit for a 10-bit or HDR source, else H.264
    enum class Speed { fast, balanced, smallest };  // the encoder's preset
    enum class Audio { keep, stereo };               // stereo: every track as stereo AAC

    static constexpr int qualityMarks = 5; // 0 "Smaller" ... 4 "Visually lossless"
    static constexpr int defaultQuality = 2;

    VideoCodec videoCodec = VideoCodec::automatic;
    int quality = defaultQuality;
    Speed speed = Speed::balanced;
    Audio audio = Audio::keep;
    bool subtitles = true;
    bool chapters = true;
};
