#include "bgm_player.h"

#include <cctype>
#include <cstring>

#include "shell_args.h"

namespace {

constexpr unsigned kReplySize = 512;
constexpr unsigned kErrorTextSize = 256;
constexpr char kCdDevice[] = "cdaudio";

// "コマンド文字列が指定されていません" and "Error (文字列が取れません)" in UTF-8,
// spelled as bytes so no compiler has to guess the source's encoding.
constexpr char kNoCommandText[] =
    "\xE3\x82\xB3\xE3\x83\x9E\xE3\x83\xB3\xE3\x83\x89\xE6\x96\x87\xE5\xAD\x97\xE5\x88\x97\xE3\x81\x8C"
    "\xE6\x8C\x87\xE5\xAE\x9A\xE3\x81\x95\xE3\x82\x8C\xE3\x81\xA6\xE3\x81\x84\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93";
constexpr char kNoErrorText[] =
    "Error (\xE6\x96\x87\xE5\xAD\x97\xE5\x88\x97\xE3\x81\x8C\xE5\x8F\x96\xE3\x82\x8C\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93)";

// A reply that fills its whole buffer carries no NUL; never read past the end.
std::string TextOf(const char* buffer, size_t size) {
  const void* nul = std::memchr(buffer, '\0', size);
  return std::string(buffer, nul ? static_cast<const char*>(nul) - buffer : size);
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool HasErr(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text.find("ERR") != std::string::npos;
}

}  // namespace

int32_t BgmPlayer::SendMciCommand(const std::string& command, std::string* output) {
  if (command.empty()) {
    *output = kNoCommandText;
    return -1;
  }
  char reply[kReplySize] = {};
  const int32_t code = static_cast<int32_t>(port_.SendString(command.c_str(), reply, kReplySize));
  if (code == 0) {
    *output = TextOf(reply, kReplySize);
    return code;
  }
  char text[kErrorTextSize] = {};
  if (port_.GetErrorString(static_cast<uint32_t>(code), text, kErrorTextSize))
    *output = TextOf(text, kErrorTextSize);
  else
    *output = kNoErrorText;
  return code;
}

std::string BgmPlayer::QueryMci(const std::string& command) {
  std::string reply;
  const int32_t code = SendMciCommand(command, &reply);
  return code == 0 ? reply : "Error:" + std::to_string(code);
}

int32_t BgmPlayer::PlayMciDevice(const std::string& device, const std::string& from, const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) command += " from " + from;
  if (!to.empty()) command += " to " + to;
  std::string output;
  return SendMciCommand(command, &output);
}

void BgmPlayer::SendDirect(const char* command) { port_.SendString(command, nullptr, 0); }

void BgmPlayer::OpenCdAudio() {
  SendDirect("open cdaudio");
  SendDirect("set cdaudio time format tmsf");
}

void BgmPlayer::PollCdAudio(int16_t repeat_track) {
  cd_available_ = true;
  const std::string current_track = QueryMci("status cdaudio current track");
  if (HasErr(current_track) || HasErr(QueryMci("status cdaudio number of tracks"))) {
    cd_available_ = false;
    return;
  }
  port_.SendString("status cdaudio mode", cd_mode_, sizeof cd_mode_);
  const bool stopped = StartsWith(TextOf(cd_mode_, sizeof cd_mode_), "stopped");
  if (repeat_track == 0) {
    if (stopped) PlayMciDevice(kCdDevice, "", "");
    return;
  }
  double track = 0;
  if (!ReadWholeNumber(current_track, &track)) {
    cd_available_ = false;
    return;
  }
  if (stopped || track != repeat_track) {
    const std::string start = QueryMci("status cdaudio position track " + std::to_string(repeat_track));
    PlayMciDevice(kCdDevice, start, "");
  }
}

void BgmPlayer::CloseCdAudio() {
  SendDirect("stop cdaudio");
  SendDirect("close cdaudio");
}

void BgmPlayer::OpenAndPlayMp3(const std::string& file) {
  const std::string open = "open \"" + file + "\" type MPEGVideo Alias MP3Play";
  if (port_.SendString(open.c_str(), nullptr, 0) == 0) SendDirect("play MP3Play");
}

bool BgmPlayer::IsMp3Playing() {
  port_.SendString("status MP3Play mode", mp3_mode_, sizeof mp3_mode_);
  return StartsWith(TextOf(mp3_mode_, sizeof mp3_mode_), "playing");
}

void BgmPlayer::RestartMp3IfStopped() {
  if (IsMp3Playing()) return;
  SendDirect("stop MP3Play");
  SendDirect("play MP3Play from 0");
}

void BgmPlayer::CloseMp3() {
  SendDirect("stop MP3Play");
  SendDirect("close MP3Play");
}

void BgmPlayer::PlayWaveLooped(const std::string& file) {
  if (port_.WaveOutDeviceCount() > 0) port_.PlayWaveFile(file.c_str(), kSoundAsyncLoop);
}

void BgmPlayer::StopWave() { port_.PlayWaveFile(nullptr, 0); }
