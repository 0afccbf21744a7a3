#include "saver_rules.h"

#include "settings.h"
#include "contract/renderer_arguments.h"

namespace {

// The last three characters, upper-cased; empty for a shorter name.
std::string UpperExtension(const std::string& file) {
  if (file.size() < 3) return std::string();
  std::string tail = file.substr(file.size() - 3);
  for (char& c : tail) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return tail;
}

}  // namespace

MusicChoice ChooseMusic(int16_t kind, const std::string& file) {
  if (kind == kBgmCd) return MusicChoice::kCd;
  if (kind != kBgmFileKind) return MusicChoice::kNone;
  const std::string extension = UpperExtension(file);
  if (extension == "WAV") return MusicChoice::kWav;
  if (extension == "MP3") return MusicChoice::kMp3;
  return MusicChoice::kNone;
}

bool RendererWatch::Tick(bool window_found, bool renderer_running) {
  if (window_found) {
    window_seen_ = true;
    return false;
  }
  return window_seen_ || !renderer_running;
}

CaptureArea ChooseCaptureArea(int16_t display, const CaptureArea& primary, const CaptureArea& virtual_screen) {
  return display == kDisplayEveryMonitor ? virtual_screen : primary;
}

std::string RendererArgument(int16_t display) {
  return display == kDisplayEveryMonitor ? kEveryMonitorArgument : "";
}
