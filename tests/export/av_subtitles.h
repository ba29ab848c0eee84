#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace marvoxa::test {

// A subtitle as libavcodec's DVD subtitle decoder shows it.
struct ShownCue {
    qint64 presentationTime = 0;  // 90 kHz ticks, as the container says
    qint64 endDisplayMs = 0;      // how long it stays, from the unit's stop command
    QImage frame;                 // the whole frame, ARGB; transparent pixels are 0
};

// The pixels of a frame that are not fully transparent.
int OpaquePixels(const QImage& frame);

// Palette entries as libavcodec's "palette" option takes them: 16 RGB colours.
QByteArray PaletteOption(const QList<quint32>& colours);

// Decodes one subpicture unit (its size field first) onto a frame of the given height.
ShownCue DecodeUnit(const QByteArray& unit, const QByteArray& paletteOption, int frameHeight);

struct ShownFile {
    QList<ShownCue> cues;
    qint64 videoStartTime = 0;  // 90 kHz ticks; 0 without a video stream
};

// Opens a file with libavformat (a VobSub .idx, an MKV, a DVD's VOB) and decodes every packet
// of its first DVD subtitle stream (or its nth, from 0, in the order of their ids: sub-stream
// ids in a VOB); an empty palette option keeps the file's own palette.
ShownFile DecodeSubtitleFile(const QString& path, const QByteArray& paletteOption, int frameHeight,
                             int nth = 0);

// Reads a Blu-ray presentation graphics file (.sup, or an MKV's PGS track) with libavformat and
// decodes each display set with libavcodec's pgssub decoder onto a frame of the video size; a
// display set that clears the picture gives an empty frame.
ShownFile DecodePgsFile(const QString& path, QSize video);

}  // namespace marvoxa::test
