#include "system_mci_port.h"

#include <windows.h>
#include <mmsystem.h>

#include "late_library.h"

namespace {

constexpr char kWinmm[] = "winmm.dll";

class SystemMci : public MciPort {
 public:
  uint32_t SendString(const char* command, char* reply, unsigned reply_size) override {
    static const auto send = LateFunction<decltype(&mciSendStringA)>(kWinmm, "mciSendStringA");
    return send ? send(command, reply, reply_size, nullptr) : MCIERR_DRIVER;
  }
  bool GetErrorString(uint32_t code, char* text, unsigned size) override {
    static const auto error_text = LateFunction<decltype(&mciGetErrorStringA)>(kWinmm, "mciGetErrorStringA");
    return error_text && error_text(code, text, size) != FALSE;
  }
  unsigned WaveOutDeviceCount() override {
    static const auto device_count = LateFunction<decltype(&waveOutGetNumDevs)>(kWinmm, "waveOutGetNumDevs");
    return device_count ? device_count() : 0;
  }
  bool PlayWaveFile(const char* sound, uint32_t flags) override {
    static const auto play = LateFunction<decltype(&PlaySoundA)>(kWinmm, "PlaySoundA");
    return play && play(sound, nullptr, flags) != FALSE;
  }
};

}  // namespace

MciPort& SystemMciPort() {
  static SystemMci port;
  return port;
}
