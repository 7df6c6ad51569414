#pragma once

#include <QFont>
#include <QPalette>
#include <QString>

class QPushButton;

// Pictures compiled in under ":/image/".
namespace Images {
inline constexpr const char *kLogo = ":/image/logo.ico";
inline constexpr const char *kBackground = ":/image/bg.jpg";
inline constexpr const char *kMoviesFolder = ":/image/MoviesFolder.png";
inline constexpr const char *kDisc = ":/image/disc.png";
inline constexpr const char *kPlay = ":/image/play.png";
inline constexpr const char *kPause = ":/image/pause.png";
inline constexpr const char *kStop = ":/image/stop.png";
inline constexpr const char *kPrevious = ":/image/pre.png";
inline constexpr const char *kNext = ":/image/next.png";
inline constexpr const char *kVolume = ":/image/volume.png";
inline constexpr const char *kNoVolume = ":/image/no-volume.png";
inline constexpr const char *kFullScreen = ":/image/fullscreen.png";
inline constexpr const char *kPlayStatus = ":/image/playstatus.png";
inline constexpr const char *kInformation = ":/image/information.png";
inline constexpr const char *kMinimise = ":/image/min.png";
inline constexpr const char *kClose = ":/image/close.png";
inline constexpr const char *kDot = ":/image/dot.png";
} // namespace Images

// Registers the compiled-in pictures; safe to call more than once.
void LoadImageResources();

// The one font family of the program, in its normal or bold weight.
QFont CalibriFont(int pointSize, bool bold = false);

// White text in every colour group, for titles, the disc menu and the time labels.
QPalette WhiteTextPalette();

// A button showing a picture at the picture's own size; the pointing-hand cursor, flat.
QPushButton *PictureButton(const char *imagePath, QWidget *parent = nullptr);
