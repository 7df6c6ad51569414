#pragma once

#include <QString>

// The identities that the window's commands carry as data, so that an entry can be found
// whatever the language of its text.
namespace MenuData {

inline const QString kOpenFile = QStringLiteral("Open File");
inline const QString kOpenDisc = QStringLiteral("Open Disc");
inline const QString kSavePlayList = QStringLiteral("Save Play List");
inline const QString kRecentFiles = QStringLiteral("Recent Files");
inline const QString kEject = QStringLiteral("Eject");
inline const QString kClose = QStringLiteral("Close");
inline const QString kClearMenu = QStringLiteral("Clear Menu");

inline const QString kPlay = QStringLiteral("Play");
inline const QString kPause = QStringLiteral("Pause");
inline const QString kResume = QStringLiteral("Resume");
inline const QString kStop = QStringLiteral("Stop");
inline const QString kPrevious = QStringLiteral("Pre");
inline const QString kNext = QStringLiteral("Next");
inline const QString kForward = QStringLiteral("Forward");
inline const QString kBackward = QStringLiteral("Backward");
inline const QString kStartOver = QStringLiteral("StartOver");
inline const QString kVolumeUp = QStringLiteral("VolumeUp");
inline const QString kVolumeDown = QStringLiteral("VolumeDown");
inline const QString kNavigation = QStringLiteral("Navigation");
inline const QString kTitle = QStringLiteral("Title");
inline const QString kChapter = QStringLiteral("Chapter");
inline const QString kEpisodes = QStringLiteral("Episodes");
inline const QString kFullScreen = QStringLiteral("FullScreen");
inline const QString kSlower = QStringLiteral("Slower");
inline const QString kFaster = QStringLiteral("Faster");
inline const QString kNormalSpeed = QStringLiteral("NormalSpeed");

inline const QString kHalfSize = QStringLiteral("HalfSize");
inline const QString kNormalSize = QStringLiteral("NormalSize");
inline const QString kDoubleSize = QStringLiteral("DoubleSize");
inline const QString kFit2Screen = QStringLiteral("Fit2Screen");
inline const QString kVideoTrack = QStringLiteral("VideoTrack");
inline const QString kSubtitleTrack = QStringLiteral("SubtitleTrack");
inline const QString kLoadSubtitle = QStringLiteral("LoadSubtitle");
inline const QString kSubtitleDelayUp = QStringLiteral("SubtitleDelayUp");
inline const QString kSubtitleDelayDown = QStringLiteral("SubtitleDelayDown");
inline const QString kAspectRatio = QStringLiteral("AspectRatio");
inline const QString kAspectAuto = QStringLiteral("AspectAuto");
inline const QString kAspect4To3 = QStringLiteral("Aspect4To3");
inline const QString kAspect16To9 = QStringLiteral("Aspect16To9");
inline const QString kAspect235 = QStringLiteral("Aspect235");
inline const QString kNextAspect = QStringLiteral("NextAspect");
inline const QString kStayOnTop = QStringLiteral("StayOnTop");
inline const QString kNextSubtitleTrack = QStringLiteral("NextSubtitleTrack");

inline const QString kAudioTrack = QStringLiteral("AudioTrack");
inline const QString kAudioChannel = QStringLiteral("AudioChannel");
inline const QString kStereo = QStringLiteral("Stereo");
inline const QString kLeft = QStringLiteral("Left");
inline const QString kRight = QStringLiteral("Right");
inline const QString kMute = QStringLiteral("Mute");
inline const QString kAudioDelayUp = QStringLiteral("AudioDelayUp");
inline const QString kAudioDelayDown = QStringLiteral("AudioDelayDown");
inline const QString kNextAudioTrack = QStringLiteral("NextAudioTrack");

inline const QString kPlayList = QStringLiteral("PlayList");
inline const QString kPreferences = QStringLiteral("Preferences");
inline const QString kSnapshot = QStringLiteral("Snapshot");

inline const QString kHelp = QStringLiteral("Help");
inline const QString kSupport = QStringLiteral("Support");
inline const QString kLanguage = QStringLiteral("Language");
inline const QString kAbout = QStringLiteral("About");

inline const QString kShortStepForward = QStringLiteral("ShortStepForward");
inline const QString kShortStepBack = QStringLiteral("ShortStepBack");
inline const QString kLongStepForward = QStringLiteral("LongStepForward");
inline const QString kLongStepBack = QStringLiteral("LongStepBack");
inline const QString kLeaveFullScreen = QStringLiteral("LeaveFullScreen");

} // namespace MenuData
