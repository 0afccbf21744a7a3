#include "system_mci_port.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

class SystemMci : public MciPort {
 public:
  uint32_t SendString(const char* command, char* reply, unsigned reply_size) override {
    return mciSendStringA(command, reply, reply_size, nullptr);
  }
  bool GetErrorString(uint32_t code, char* text, unsigned size) override {
    return mciGetErrorStringA(code, text, size) != FALSE;
  }
  unsigned WaveOutDeviceCount() override { return waveOutGetNumDevs(); }
  bool PlayWaveFile(const char* sound, uint32_t flags) override { return PlaySoundA(sound, nullptr, flags) != FALSE; }
};

}  // namespace

MciPort& SystemMciPort() {
  static SystemMci port;
  return port;
}
