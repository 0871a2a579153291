// Tells a cut-off picture file from a complete one by the structure its format declares
// (row sizes, block and chunk lengths, end markers), without decoding a pixel. Some
// decoders hand back a cut-off picture with its missing part filled with background; this
// check lets the loader refuse such a file instead.
#pragma once

#include <QByteArray>
#include <QtGlobal>

enum class Completeness {
    Complete,  // everything the first picture of the file needs is there
    Truncated, // the file ends before data it declares
    Damaged,   // a part fails its own check (a PNG critical chunk's CRC)
    Unknown,   // a format not checked here, or a structure the decoder must judge
};

// Reads the open file fd (of fileSize bytes) with pread, so its offset is not moved.
// Checks BMP (uncompressed and RLE), GIF (up to the end of the first image), PNG (up to
// IEND, with the CRCs of its critical chunks) and JPEG (up to EOI), recognised by their
// content, not by the file's name; the format recognised ("bmp", "gif", "png", "jpeg")
// goes to `format` when one is given.
Completeness CheckPictureCompleteness(int fd, qint64 fileSize, QByteArray* format = nullptr);
