#include "bgm_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// Each command as sent: with its reply buffer's size in brackets, or alone when
// sent without a buffer.
using Sent = std::vector<std::string>;
std::string Reply(const std::string& command, unsigned size = 512) {
  return command + " [" + std::to_string(size) + "]";
}

// Writes as the platform does: the text, then a NUL only if there is room left.
void Fill(const std::string& text, char* buffer, unsigned size) {
  const size_t n = std::min<size_t>(text.size(), size);
  std::memcpy(buffer, text.data(), n);
  if (n < size) buffer[n] = '\0';
}

// Unscripted commands succeed with ""; unscripted error codes have no text.
class FakeMciPort : public MciPort {
 public:
  struct Answer {
    uint32_t code;
    std::string text;
    bool writes;  // false: a failed query that writes nothing into the reply
  };
  std::map<std::string, Answer> answers;
  std::map<uint32_t, std::string> error_texts;
  unsigned wave_devices = 1;
  Sent sent;
  using ErrorRequests = std::vector<std::pair<uint32_t, unsigned>>;  // code, text size
  ErrorRequests error_requests;
  std::vector<std::pair<std::string, uint32_t>> sounds;  // "(none)" for a null name

  uint32_t SendString(const char* command, char* reply, unsigned reply_size) override {
    EXPECT_TRUE(reply || reply_size == 0) << command;
    sent.push_back(reply ? Reply(command, reply_size) : command);
    const auto it = answers.find(command);
    const Answer answer = it == answers.end() ? Answer{0, "", true} : it->second;
    if (reply && answer.writes) Fill(answer.text, reply, reply_size);
    return answer.code;
  }
  bool GetErrorString(uint32_t code, char* text, unsigned size) override {
    error_requests.push_back({code, size});
    const auto it = error_texts.find(code);
    if (it == error_texts.end()) return false;
    Fill(it->second, text, size);
    return true;
  }
  unsigned WaveOutDeviceCount() override { return wave_devices; }
  bool PlayWaveFile(const char* sound, uint32_t flags) override {
    sounds.push_back({sound ? sound : "(none)", flags});
    return true;
  }
};

class BgmTest : public ::testing::Test {
 protected:
  FakeMciPort port;
  BgmPlayer player{port};

  void Answer(const std::string& command, uint32_t code, const std::string& text = "") {
    port.answers[command] = {code, text, true};
  }
  void FailSilently(const std::string& command, uint32_t code) { port.answers[command] = {code, "", false}; }
  // A disc whose status queries succeed with these replies.
  void Disc(const std::string& track, const std::string& mode) {
    Answer("status cdaudio current track", 0, track);
    Answer("status cdaudio number of tracks", 0, "12");
    Answer("status cdaudio mode", 0, mode);
  }
  Sent TakeSent() { return std::exchange(port.sent, {}); }
};

const std::string kCurrentTrack = Reply("status cdaudio current track");
const std::string kTrackCount = Reply("status cdaudio number of tracks");
const Sent kCdStatus = {kCurrentTrack, kTrackCount, Reply("status cdaudio mode", 255)};
Sent CdStatusThen(const Sent& more) {
  Sent all = kCdStatus;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}
const std::string kMp3Mode = Reply("status MP3Play mode", 30);

// The two texts of their own, as UTF-8 bytes.
const char kNoCommand[] = u8"コマンド文字列が指定されていません";
const char kNoErrorText[] = u8"Error (文字列が取れません)";

// --- The general command and its reply text ---

// SendMciCommand gives the reply or the error text; QueryMci the reply or
// "Error:" and the signed code.
TEST_F(BgmTest, MciCommandAndQueryGiveTheReplyOrTheErrorCutToItsBuffer) {
  using ErrorRequests = FakeMciPort::ErrorRequests;
  const std::string kLongErrorText(300, 'e');
  const struct {
    uint32_t code;
    std::string reply;
    const char* error_text;  // null: the error text cannot be had
    int32_t result;
    std::string output, query;
  } cases[] = {
      {0, "stopped", nullptr, 0, "stopped", "stopped"},
      {0, "", nullptr, 0, "", ""},
      {0, std::string(600, 'r'), nullptr, 0, std::string(512, 'r'), std::string(512, 'r')},  // to the buffer's end
      {266, "unused", "The device is not ready.", 266, "The device is not ready.", "Error:266"},
      {262, "", kLongErrorText.c_str(), 262, std::string(256, 'e'), "Error:262"},
      {277, "", nullptr, 277, kNoErrorText, "Error:277"},
      {0xFFFFFFFFu, "", nullptr, -1, kNoErrorText, "Error:-1"},
      {0xFFFFFFFEu, "", nullptr, -2, kNoErrorText, "Error:-2"},
  };
  for (const auto& c : cases) {
    Answer("status cdaudio mode", c.code, c.reply);
    port.error_texts.clear();
    if (c.error_text) port.error_texts[c.code] = c.error_text;
    std::string output = "old";
    EXPECT_EQ(player.SendMciCommand("status cdaudio mode", &output), c.result) << c.code;
    EXPECT_EQ(output, c.output) << c.code;
    EXPECT_EQ(TakeSent(), Sent{Reply("status cdaudio mode", 512)}) << c.code;
    const ErrorRequests requested = c.code ? ErrorRequests{{c.code, 256u}} : ErrorRequests{};
    EXPECT_EQ(std::exchange(port.error_requests, {}), requested) << c.code;
    EXPECT_EQ(player.QueryMci("status cdaudio mode"), c.query) << c.code;
    EXPECT_EQ(TakeSent(), Sent{Reply("status cdaudio mode", 512)}) << c.code;
    port.error_requests.clear();
  }
}

TEST_F(BgmTest, MciEmptyCommandIsRefusedWithoutReachingThePlatform) {
  std::string output;
  EXPECT_EQ(player.SendMciCommand("", &output), -1);
  EXPECT_EQ(output, kNoCommand);
  EXPECT_EQ(player.QueryMci(""), "Error:-1");
  EXPECT_TRUE(port.sent.empty());
  EXPECT_TRUE(port.error_requests.empty());
}

TEST_F(BgmTest, MciPlayDeviceAddsOnlyTheGivenPositions) {
  const struct {
    const char *from, *to, *command;
    uint32_t code;
  } cases[] = {
      {"", "", "play cdaudio", 0},        {"03:00:00:00", "", "play cdaudio from 03:00:00:00", 0},
      {"", "04", "play cdaudio to 04", 0}, {"1", "2", "play cdaudio from 1 to 2", 0},
      {"", "", "play cdaudio", 275},
  };
  for (const auto& c : cases) {
    Answer(c.command, c.code);
    EXPECT_EQ(player.PlayMciDevice("cdaudio", c.from, c.to), int32_t(c.code));
    EXPECT_EQ(TakeSent(), Sent{Reply(c.command)});
  }
}

// --- Audio CD and MP3: fixed command sequences ---

TEST_F(BgmTest, OpenAndCloseSendDirectCommands) {
  const std::string mp3_open = "open \"C:\\My Music\\two words.mp3\" type MPEGVideo Alias MP3Play";
  const std::string cp932_open = "open \"C:\\\x83\x5c\x83\x93\\a.mp3\" type MPEGVideo Alias MP3Play";  // bytes kept
  Answer(cp932_open, 277);
  const struct {
    std::function<void()> call;
    Sent sent;
  } cases[] = {
      {[&] { player.OpenCdAudio(); }, {"open cdaudio", "set cdaudio time format tmsf"}},
      {[&] { player.CloseCdAudio(); }, {"stop cdaudio", "close cdaudio"}},
      {[&] { player.OpenAndPlayMp3("C:\\My Music\\two words.mp3"); }, {mp3_open, "play MP3Play"}},
      {[&] { player.OpenAndPlayMp3("C:\\\x83\x5c\x83\x93\\a.mp3"); }, {cp932_open}},  // failed: not played
      {[&] { player.CloseMp3(); }, {"stop MP3Play", "close MP3Play"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cases[i].call();
    EXPECT_EQ(TakeSent(), cases[i].sent) << "case " << i;
  }
}

// --- Audio CD poll ---

TEST_F(BgmTest, BgmCdPollSequences) {
  Answer("status cdaudio position track 3", 0, "03:00:00:00");
  Answer("status cdaudio position track 12", 0, "03:00:00:00");
  Answer("status cdaudio position track 20", 289);
  const Sent play_track_3 = {Reply("status cdaudio position track 3"), Reply("play cdaudio from 03:00:00:00")};
  const struct {
    int16_t repeat;
    const char* track;
    std::string mode;
    Sent after_status;
  } cases[] = {
      {0, "1", "stopped", {Reply("play cdaudio")}},
      {0, "1", "stopped", {Reply("play cdaudio")}},  // started again on every poll
      {0, "1", "stopped" + std::string(300, '.'), {Reply("play cdaudio")}},  // fills its buffer, still counts
      {0, "1", "playing", {}}, {0, "1", "paused", {}}, {0, "1", "stop", {}},  // "stop": shorter than "stopped"
      {3, "1", "playing", play_track_3},
      {3, "3", "playing", {}},
      {3, "3", "stopped", play_track_3},
      {3, "4", "playing", play_track_3},
      {3, " 3 ", "playing", {}}, {3, "03", "playing", {}},  // compared as a number
      {12, "3", "playing", {Reply("status cdaudio position track 12"), Reply("play cdaudio from 03:00:00:00")}},
      // A repeat track missing from the disc sends the error as the start.
      {20, "1", "playing", {Reply("status cdaudio position track 20"), Reply("play cdaudio from Error:289")}},
  };
  for (const auto& c : cases) {
    Disc(c.track, c.mode);
    player.PollCdAudio(c.repeat);
    const auto where = ::testing::Message() << c.repeat << " " << c.track << " " << c.mode.substr(0, 8);
    EXPECT_TRUE(player.cd_available()) << where;
    EXPECT_EQ(TakeSent(), CdStatusThen(c.after_status)) << where;
  }
}

TEST_F(BgmTest, BgmCdUnusableDiscEndsThePoll) {
  const struct {
    const char* name;
    uint32_t track_code;
    const char* track;
    uint32_t count_code;
    const char* count;
    Sent sent;
  } cases[] = {
      {"no drive", 266, "", 0, "12", {kCurrentTrack}},
      {"track reply says error", 0, "error", 0, "12", {kCurrentTrack}},
      {"no track count", 0, "1", 262, "", {kCurrentTrack, kTrackCount}},
      {"track count says Err", 0, "1", 0, "xErRx", {kCurrentTrack, kTrackCount}},
  };
  for (const auto& c : cases) {
    Disc("1", "stopped");
    Answer("status cdaudio current track", c.track_code, c.track);
    Answer("status cdaudio number of tracks", c.count_code, c.count);
    player.PollCdAudio(3);
    EXPECT_FALSE(player.cd_available()) << c.name;
    EXPECT_EQ(TakeSent(), c.sent) << c.name;
  }
}

TEST_F(BgmTest, BgmCdTrackThatIsNoNumberEndsARepeatPollOnly) {
  for (const char* track : {"", "one", "3x", "-", " "}) {
    Disc(track, "stopped");
    player.PollCdAudio(3);
    EXPECT_FALSE(player.cd_available()) << '"' << track << '"';
    EXPECT_EQ(TakeSent(), kCdStatus) << '"' << track << '"';
    player.PollCdAudio(0);  // without a repeat track the number is never needed
    EXPECT_TRUE(player.cd_available()) << '"' << track << '"';
    EXPECT_EQ(TakeSent(), CdStatusThen({Reply("play cdaudio")})) << '"' << track << '"';
  }
}

// A mode query that writes nothing reads the previous reply again.
TEST_F(BgmTest, FailedModeQueryReadsThePreviousReplyAgain) {
  for (const char* previous : {"stopped", "playing"}) {
    Disc("1", previous);
    player.PollCdAudio(0);
    FailSilently("status cdaudio mode", 262);
    TakeSent();
    player.PollCdAudio(0);
    EXPECT_EQ(TakeSent(), *previous == 's' ? CdStatusThen({Reply("play cdaudio")}) : kCdStatus) << previous;
  }
  FailSilently("status MP3Play mode", 263);
  EXPECT_FALSE(player.IsMp3Playing());  // nothing read yet
  Answer("status MP3Play mode", 0, "playing");
  EXPECT_TRUE(player.IsMp3Playing());
  FailSilently("status MP3Play mode", 263);
  TakeSent();
  player.RestartMp3IfStopped();
  EXPECT_EQ(TakeSent(), Sent{kMp3Mode});
}

// --- MP3 mode ---

TEST_F(BgmTest, BgmMp3IsPlayingOnlyWhenTheModeStartsWithPlayingAndRestartsOtherwise) {
  const Sent restart = {kMp3Mode, "stop MP3Play", "play MP3Play from 0"};
  const struct {
    std::string mode;
    bool playing;
  } cases[] = {
      {"playing", true}, {"playing and more", true}, {"playing" + std::string(40, '!'), true},  // fills the 30 bytes
      {"stopped", false}, {"paused", false}, {"not ready", false}, {"", false}, {"play", false}, {"Playing", false},
  };
  for (const auto& c : cases) {
    Answer("status MP3Play mode", 0, c.mode);
    EXPECT_EQ(player.IsMp3Playing(), c.playing) << c.mode;
    EXPECT_EQ(TakeSent(), Sent{kMp3Mode}) << c.mode;
    player.RestartMp3IfStopped();
    EXPECT_EQ(TakeSent(), c.playing ? Sent{kMp3Mode} : restart) << c.mode;
  }
}

// --- WAV ---

TEST_F(BgmTest, BgmWavLoopsOnlyWithAWaveDeviceAndStopsWithNoSound) {
  const std::string file = "C:\\\x89\xb9\\loop sound.wav";
  for (unsigned devices : {0u, 1u, 2u}) {
    port.wave_devices = devices;
    port.sounds.clear();
    player.PlayWaveLooped(file);
    const decltype(port.sounds) expected = {{file, 9u}};
    EXPECT_EQ(port.sounds, devices == 0 ? decltype(port.sounds){} : expected) << devices;
  }
  port.sounds.clear();
  player.StopWave();
  EXPECT_EQ(port.sounds, (decltype(port.sounds){{"(none)", 0u}}));
  EXPECT_TRUE(port.sent.empty());
}

}  // namespace
