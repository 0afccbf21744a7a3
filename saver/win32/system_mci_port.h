// The music module's port to winmm.
#pragma once

#include "bgm_player.h"

// The one port that forwards to mciSendStringA, mciGetErrorStringA,
// waveOutGetNumDevs and PlaySoundA.
MciPort& SystemMciPort();
