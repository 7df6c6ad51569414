#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// The widest and tallest thumbnail picture that is decoded. Discs carry pictures of 640x360 at
// most; a JPEG may declare 65,535 pixels a side in a few bytes, which would take 17 GB to
// decode. At 4096x4096 a decoder takes 64 MB for a moment on the scan's thread, and a JPEG,
// decoded at an eighth or a quarter of its size, far less.
inline constexpr int kMaxThumbnailSide = 4096;

// The box the thumbnail is decoded to fit, never enlarged. The navigation page stretches it
// over the whole page (WindowContent.cpp), as the start page stretches its background, which
// is kept at 640x480; a disc's own 640x360 picture fits as it is.
inline constexpr QSize kThumbnailBox(640, 480);

// Decodes a disc's thumbnail picture, read from the disc, for the navigation page: a JPEG
// (what discs carry) or PNG picture, no other decoder seeing a disc's bytes, whose header
// declares no side over kMaxThumbnailSide, scaled down to fit kThumbnailBox, in the pixel
// format the window's pixmaps take. Anything else gives a null picture.
QImage DecodeThumbnail(const QByteArray &bytes);
