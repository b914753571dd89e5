#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which containers Tessaly lets the tools open. Opening a file reads that file
// alone: containers that name other files or streams (playlists, lists,
// numbered picture sequences) are refused by their content, whatever the
// file's name, before the tool opens anything they name.
namespace InputFormats {

enum class Refusal {
    none,
    playlist, // HLS, DASH, ffconcat, IMF, SDP: it names other files or streams
    pictures, // a picture, or numbered pictures found by a pattern
};

// Why a container is refused, from the tool's name of it ("hls", "mov,mp4,m4a,…").
Refusal refusalOf(const QString &formatName);

// The options that go before every input of both tools: only local files
// are read ("file"; no network, no "concat:" or "subfile:" of other files),
// and the container is the one probed (formatName), or, before it is known,
// any that is not refused. A container not allowed ends the tool before it
// reads past the file's first bytes.
QStringList inputOptions(const QString &formatName = QString());

// Whether the container's seeks land on the keyframe at or before a time,
// by its index; elsewhere (MPEG-TS and other streams) a seek lands anywhere.
bool seeksByIndex(const QString &formatName);
// Whether the container's header tells each stream's codec, size and start,
// so that an input need not decode pictures from the file's start to learn
// them (as MP4 and Matroska do; MPEG-TS tells them only in its packets).
bool describesStreams(const QString &formatName);
// How long before a time a decode must start to reach every picture from it:
// nothing where the index leads to the keyframe at or before; elsewhere the
// decoder starts at the first keyframe after where the seek lands, and
// keyframes are taken to lie at most 10 s apart.
double seekLead(const QString &formatName);

// Whether the container's index counts every frame, the empty ones that hold
// the picture before included (AVI): its duration is the pictures' end even
// where their last packets are empty and never listed.
bool countsEveryFrame(const QString &formatName);

// The container the tool refused to open, named in its messages
// ("[hls @ 0x…] Format not on whitelist …"); nothing when none was.
std::optional<QString> refusedIn(const QString &messages);

} // namespace InputFormats
