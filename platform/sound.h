// Sound playback. A wave file is played by the desktop's command-line player: the first of
// "pw-play", "paplay" and "aplay" found on PATH (looked up at each call), started without a
// shell and without waiting. One sound at a time: while the previous player still runs, a new
// sound is not played. Players that end are reaped at once.
//
// PlaySound keeps the handheld's call shape. A device path ("\WINDOWS\orvikmessage.wav") names
// a file of the profile (device_path.h). When that file does not exist and the program ships a
// sound of the same file name, the shipped sound is written there first, so a fresh profile
// plays the defaults; a file that is still missing plays nothing (there is no default sound).
#pragma once

#include <string>

#include "platform/win32_types.h"

struct ModuleTag;
using HMODULE = ModuleTag*;

constexpr DWORD SND_SYNC = 0x0000;
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;
constexpr DWORD SND_NOSTOP = 0x0010;
constexpr DWORD SND_FILENAME = 0x00020000;

// Plays the file `path` names (SND_FILENAME is required; sounds from resources are not
// supported). Always asynchronous: SND_SYNC is treated as SND_ASYNC. TRUE when a player was
// started; FALSE when a sound still plays, the file is missing, or no player is installed.
BOOL PlaySound(const WCHAR* path, HMODULE module, DWORD flags);

// The playback underneath PlaySound (sound_player.cpp), on a host file.
// The full path of the first player found on PATH, or empty.
std::string FindSoundPlayer();
// Starts `player file` unless a sound started here still plays; TRUE when started.
BOOL StartSoundPlayer(const std::string& player, const std::string& file);
