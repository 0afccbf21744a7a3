// The background music module: MCI command strings for an audio CD and an MP3
// file, and looping wave playback, behind a small port to the platform.
#pragma once

#include <cstdint>
#include <string>

// The platform calls the module makes. The Windows build forwards them to
// winmm; tests record them.
class MciPort {
 public:
  virtual ~MciPort() = default;
  // mciSendStringA(command, reply, reply_size, no callback); reply may be null with size 0.
  virtual uint32_t SendString(const char* command, char* reply, unsigned reply_size) = 0;
  // mciGetErrorStringA(code, text, size).
  virtual bool GetErrorString(uint32_t code, char* text, unsigned size) = 0;
  // waveOutGetNumDevs().
  virtual unsigned WaveOutDeviceCount() = 0;
  // PlaySoundA(sound, no module, flags); sound may be null.
  virtual bool PlayWaveFile(const char* sound, uint32_t flags) = 0;
};

constexpr uint32_t kSoundAsyncLoop = 9;  // SND_ASYNC | SND_LOOP

class BgmPlayer {
 public:
  explicit BgmPlayer(MciPort& port) : port_(port) {}

  // The command's code; *output gets the reply, or the error text for a failure.
  int32_t SendMciCommand(const std::string& command, std::string* output);
  // The reply, or "Error:" and the code for a failure.
  std::string QueryMci(const std::string& command);
  // "play DEVICE[ from START][ to END]".
  int32_t PlayMciDevice(const std::string& device, const std::string& from, const std::string& to);

  void OpenCdAudio();
  void PollCdAudio(int16_t repeat_track);  // sets cd_available()
  void CloseCdAudio();
  void OpenAndPlayMp3(const std::string& file);
  bool IsMp3Playing();
  void RestartMp3IfStopped();
  void CloseMp3();
  void PlayWaveLooped(const std::string& file);
  void StopWave();

  bool cd_available() const { return cd_available_; }

 private:
  // A command sent with no reply buffer; its result is not looked at.
  void SendDirect(const char* command);

  MciPort& port_;
  bool cd_available_ = false;
  // The mode replies keep their text between calls: a query that writes
  // nothing reads the previous reply again.
  char cd_mode_[255] = {};
  char mp3_mode_[30] = {};
};
