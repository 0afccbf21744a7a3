// Rules of the saver run: which music a setting plays, which screen the
// capture takes and what the renderer is told, and when the renderer watch
// ends the run.
#pragma once

#include <cstdint>
#include <string>

enum class MusicChoice { kNone, kCd, kMp3, kWav };

// Kind 1 is the audio CD; kind 2 plays the file by its last three characters,
// compared without regard to case ("MP3", "WAV"); everything else is silent.
MusicChoice ChooseMusic(int16_t kind, const std::string& file);

// Where the desktop capture comes from, in screen coordinates.
struct CaptureArea {
  int left = 0, top = 0, width = 0, height = 0;
};

// The every-monitor way takes the whole virtual screen, where the flight will
// span it; the classic way the primary screen, at the origin.
CaptureArea ChooseCaptureArea(int16_t display, const CaptureArea& primary, const CaptureArea& virtual_screen);

// The renderer's command-line argument for the display way: none for the
// classic way, the every-monitor argument otherwise.
std::string RendererArgument(int16_t display);

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
