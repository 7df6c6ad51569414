#pragma once

// Everything the player says to the playback engine and every marker it reads back.
namespace Engine {

// Commands: printf templates, each one line.
inline constexpr const char *kPause = "pause\n";
inline constexpr const char *kQuit = "q\n";
inline constexpr const char *kGetLength = "get_time_length\n";
inline constexpr const char *kGetPosition = "get_time_pos\n";
// Asked as the medium starts, when a pause may already be wanted.
inline constexpr const char *kGetPositionKeepPause = "pausing_keep_force get_time_pos\n";
inline constexpr const char *kSeekAbsolute = "seek %d 2\n";
inline constexpr const char *kVolumeAbsolute = "volume %d 2\n";
// Everything but play, pause and stop keeps a pause as it is, without even stepping a frame;
// only a screenshot, which needs one frame drawn, keeps the pause with that one step.
// Properties are set without the engine's own note on the picture: the player shows its own.
inline constexpr const char *kMute = "pausing_keep_force set_property volume 0\n";
inline constexpr const char *kUnmute = "pausing_keep_force set_property volume 50\n";
inline constexpr const char *kVolumeKeepPause = "pausing_keep_force set_property volume %d\n";
// Numbers with a fraction go as text made in the C locale, never through printf's locale.
inline constexpr const char *kSpeedSet = "pausing_keep_force set_property speed %s\n";
inline constexpr const char *kAudioDelaySet = "pausing_keep_force set_property audio_delay %s\n";
inline constexpr const char *kSubtitleDelaySet = "pausing_keep_force set_property sub_delay %s\n";
// -1: the medium's own aspect ratio.
inline constexpr const char *kAspectSet = "pausing_keep_force switch_ratio %s\n";
inline constexpr const char *kSwitchAudioKeepPause = "pausing_keep_force switch_audio %d\n";
inline constexpr const char *kSubtitleKeepPause = "pausing_keep_force sub_demux %d\n";
inline constexpr const char *kBalanceStereo = "pausing_keep_force balance 0 1\n";
inline constexpr const char *kBalanceLeft = "pausing_keep_force balance -1 1\n";
inline constexpr const char *kBalanceRight = "pausing_keep_force balance 1 1\n";
inline constexpr const char *kScreenshot = "pausing_keep screenshot 0\n";
// A note on the engine's own picture for three seconds; the text goes between the quotes.
inline constexpr const char *kShowText = "pausing_keep_force osd_show_text \"%s\" 3000\n";
inline constexpr const char *kAskAudioTrack = "pausing_keep_force get_property switch_audio\n";
inline constexpr const char *kAskSubtitleTrack = "pausing_keep_force get_property sub_demux\n";
// Subtitle files the user loads are numbered from 0 in the order loaded; -1 shows none of them.
inline constexpr const char *kSubtitleLoad = "pausing_keep_force sub_load \"%s\"\n";
// Set as a property, the choice puts no note of the engine's own on screen: that note would
// name the link the file is read through, not the user's file.
inline constexpr const char *kSubtitleFile = "pausing_keep_force set_property sub_file %d\n";
inline constexpr const char *kAskSubtitleFile = "pausing_keep_force get_property sub_file\n";

// Output: answers begin with these; the other lines are recognised by their whole shape.
inline constexpr const char *kTimePositionAnswer = "ANS_TIME_POSITION=";
inline constexpr const char *kLengthAnswer = "ANS_LENGTH=";
inline constexpr const char *kPercentPositionAnswer = "ANS_PERCENT_POSITION=";
inline constexpr const char *kEndOfFileLine = "Exiting... (End of file)";
inline constexpr const char *kQuitLine = "Exiting... (Quit)";
// Printed once the medium has been opened and plays; an engine that ends without it could not
// play the medium at all.
inline constexpr const char *kPlaybackStartedLine = "Starting playback...";

// The engine's screenshot filter writes "shot0001.png", "shot0002.png", ... into its working
// folder; no path goes through its option parser, which would split one at commas and colons.
inline constexpr const char *kScreenshotFilter = "screenshot";

// Every command is formatted into a buffer of this size.
inline constexpr int kCommandBufferSize = 128;

} // namespace Engine
