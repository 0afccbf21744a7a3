// Rules of the saver run: which music a setting plays, and when the renderer
// watch ends the run.
#pragma once

#include <cstdint>
#include <string>

enum class MusicChoice { kNone, kCd, kMp3, kWav };

// Kind 1 is the audio CD; kind 2 plays the file by its last three characters,
// compared without regard to case ("MP3", "WAV"); everything else is silent.
MusicChoice ChooseMusic(int16_t kind, const std::string& file);

// The renderer watch, ticked every 500 ms. It ends the run once the renderer's
// window, seen at least once, is gone, or when the renderer process is no
// longer running without ever having shown its window. A slow start therefore
// never ends the run early, and a renderer that fails never leaves the shell
// behind with music playing and the cursor hidden.
class RendererWatch {
 public:
  // True when the run must end.
  bool Tick(bool window_found, bool renderer_running);

 private:
  bool window_seen_ = false;
};
