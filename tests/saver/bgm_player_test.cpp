#include "bgm_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// One scripted answer: the code, and the text written into the reply buffer
// (nothing is written when `writes` is false, as for a failed query).
struct ScriptedAnswer {
  uint32_t code = 0;
  std::string text;
  bool writes = true;
};

struct SentCommand {
  std::string command;
  bool has_buffer;
  unsigned size;
  bool operator==(const SentCommand& o) const {
    return command == o.command && has_buffer == o.has_buffer && size == o.size;
  }
};

std::ostream& operator<<(std::ostream& out, const SentCommand& c) {
  return out << '"' << c.command << "\" buffer=" << c.has_buffer << " size=" << c.size;
}

SentCommand Direct(const std::string& command) { return {command, false, 0}; }
SentCommand Reply(const std::string& command, unsigned size = 512) { return {command, true, size}; }

struct SoundCall {
  bool has_name;
  std::string name;
  uint32_t flags;
};

// Writes as the platform does: the text, then a NUL only if there is room left.
void Fill(const std::string& text, char* buffer, unsigned size) {
  const size_t n = std::min<size_t>(text.size(), size);
  std::memcpy(buffer, text.data(), n);
  if (n < size) buffer[n] = '\0';
}

class FakeMciPort : public MciPort {
 public:
  std::map<std::string, ScriptedAnswer> answers;       // unscripted commands succeed with ""
  std::map<uint32_t, std::string> error_texts;  // unscripted codes have no text
  unsigned wave_devices = 1;

  std::vector<SentCommand> sent;
  std::vector<std::pair<uint32_t, unsigned>> error_requests;
  std::vector<SoundCall> sounds;

  uint32_t SendString(const char* command, char* reply, unsigned reply_size) override {
    sent.push_back({command, reply != nullptr, reply_size});
    const auto it = answers.find(command);
    const ScriptedAnswer answer = it == answers.end() ? ScriptedAnswer{} : it->second;
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
    sounds.push_back({sound != nullptr, sound ? sound : "", flags});
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
  std::vector<SentCommand> TakeSent() {
    std::vector<SentCommand> taken;
    taken.swap(port.sent);
    return taken;
  }
};

const std::vector<SentCommand> kCdStatus = {
    Reply("status cdaudio current track"),
    Reply("status cdaudio number of tracks"),
    Reply("status cdaudio mode", 255),
};

std::vector<SentCommand> CdStatusThen(std::vector<SentCommand> more) {
  std::vector<SentCommand> all = kCdStatus;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

// --- The general command and its reply text ---

// The two texts of their own, as UTF-8 bytes.
const char kNoCommand[] = "\xE3\x82\xB3\xE3\x83\x9E\xE3\x83\xB3\xE3\x83\x89\xE6\x96\x87\xE5\xAD\x97\xE5\x88\x97\xE3\x81\x8C"
                          "\xE6\x8C\x87\xE5\xAE\x9A\xE3\x81\x95\xE3\x82\x8C\xE3\x81\xA6\xE3\x81\x84\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93";
const char kNoErrorText[] = "Error (\xE6\x96\x87\xE5\xAD\x97\xE5\x88\x97\xE3\x81\x8C\xE5\x8F\x96\xE3\x82\x8C\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93)";

TEST_F(BgmTest, MciSendCommandReturnsTheReplyOrTheErrorText) {
  const struct {
    uint32_t code;
    const char* reply;
    const char* error_text;  // null: the error text cannot be had
    int32_t result;
    const char* output;
  } cases[] = {
      {0, "stopped", nullptr, 0, "stopped"},
      {0, "", nullptr, 0, ""},
      {266, "", "The device is not ready.", 266, "The device is not ready."},
      {277, "", nullptr, 277, kNoErrorText},
      {0xFFFFFFFFu, "", nullptr, -1, kNoErrorText},
  };
  for (const auto& c : cases) {
    port.answers["status cdaudio mode"] = {c.code, c.reply, true};
    port.error_texts.clear();
    if (c.error_text) port.error_texts[c.code] = c.error_text;
    std::string output = "old";
    EXPECT_EQ(player.SendMciCommand("status cdaudio mode", &output), c.result) << c.code;
    EXPECT_EQ(output, c.output) << c.code;
  }
}

TEST_F(BgmTest, MciSendCommandUsesA512ByteReplyAndA256ByteErrorText) {
  Answer("open cdaudio", 266);
  std::string output;
  player.SendMciCommand("open cdaudio", &output);
  EXPECT_EQ(TakeSent(), std::vector<SentCommand>{Reply("open cdaudio", 512)});
  ASSERT_EQ(port.error_requests.size(), 1u);
  EXPECT_EQ(port.error_requests[0], std::make_pair(266u, 256u));
}

TEST_F(BgmTest, MciEmptyCommandIsRefusedWithoutReachingThePlatform) {
  std::string output;
  EXPECT_EQ(player.SendMciCommand("", &output), -1);
  EXPECT_EQ(output, kNoCommand);
  EXPECT_EQ(player.QueryMci(""), "Error:-1");
  EXPECT_TRUE(port.sent.empty());
  EXPECT_TRUE(port.error_requests.empty());
}

TEST_F(BgmTest, MciReplyThatFillsItsWholeBufferIsReadOnlyToTheBufferEnd) {
  Answer("status cdaudio mode", 0, std::string(600, 'r'));
  EXPECT_EQ(player.QueryMci("status cdaudio mode"), std::string(512, 'r'));

  Answer("status cdaudio mode", 262);
  port.error_texts[262] = std::string(300, 'e');
  std::string output;
  player.SendMciCommand("status cdaudio mode", &output);
  EXPECT_EQ(output, std::string(256, 'e'));
}

TEST_F(BgmTest, MciQueryGivesTheReplyOrErrorAndTheSignedCode) {
  const struct {
    uint32_t code;
    const char* result;
  } cases[] = {{0, "01:00:00:00"}, {262, "Error:262"}, {0xFFFFFFFEu, "Error:-2"}};
  for (const auto& c : cases) {
    Answer("status cdaudio position track 1", c.code, "01:00:00:00");
    port.error_texts[262] = "unused text";
    EXPECT_EQ(player.QueryMci("status cdaudio position track 1"), c.result) << c.code;
  }
}

TEST_F(BgmTest, MciPlayDeviceAddsOnlyTheGivenPositions) {
  const struct {
    const char* from;
    const char* to;
    const char* command;
  } cases[] = {
      {"", "", "play cdaudio"},
      {"03:00:00:00", "", "play cdaudio from 03:00:00:00"},
      {"", "04", "play cdaudio to 04"},
      {"1", "2", "play cdaudio from 1 to 2"},
  };
  for (const auto& c : cases) {
    Answer(c.command, 0);
    EXPECT_EQ(player.PlayMciDevice("cdaudio", c.from, c.to), 0);
    EXPECT_EQ(TakeSent(), std::vector<SentCommand>{Reply(c.command)});
  }
  Answer("play cdaudio", 275);
  EXPECT_EQ(player.PlayMciDevice("cdaudio", "", ""), 275);
}

// --- Audio CD ---

TEST_F(BgmTest, BgmCdOpenAndCloseSendDirectCommands) {
  player.OpenCdAudio();
  EXPECT_EQ(TakeSent(), (std::vector<SentCommand>{Direct("open cdaudio"), Direct("set cdaudio time format tmsf")}));
  player.CloseCdAudio();
  EXPECT_EQ(TakeSent(), (std::vector<SentCommand>{Direct("stop cdaudio"), Direct("close cdaudio")}));
}

TEST_F(BgmTest, BgmCdPollSequences) {
  const std::vector<SentCommand> play_track_3 = {Reply("status cdaudio position track 3"),
                                                 Reply("play cdaudio from 03:00:00:00")};
  const struct {
    int16_t repeat;
    const char* track;
    const char* mode;
    std::vector<SentCommand> after_status;
  } cases[] = {
      {0, "1", "stopped", {Reply("play cdaudio")}},
      {0, "1", "playing", {}},
      {0, "1", "paused", {}},
      {0, "1", "stop", {}},  // shorter than "stopped"
      {3, "1", "playing", play_track_3},
      {3, "3", "playing", {}},
      {3, "3", "stopped", play_track_3},
      {3, "4", "playing", play_track_3},
      {3, " 3 ", "playing", {}},  // compared as a number
      {3, "03", "playing", {}},
      {12, "3", "playing", {Reply("status cdaudio position track 12"), Reply("play cdaudio from 03:00:00:00")}},
  };
  for (const auto& c : cases) {
    Disc(c.track, c.mode);
    Answer("status cdaudio position track " + std::to_string(c.repeat), 0, "03:00:00:00");
    player.PollCdAudio(c.repeat);
    EXPECT_TRUE(player.cd_available()) << c.repeat << " " << c.track << " " << c.mode;
    EXPECT_EQ(TakeSent(), CdStatusThen(c.after_status)) << c.repeat << " " << c.track << " " << c.mode;
  }
}

TEST_F(BgmTest, BgmCdStoppedDiscIsStartedOnEveryPoll) {
  Disc("1", "stopped");
  for (int poll = 0; poll < 3; ++poll) {
    player.PollCdAudio(0);
    EXPECT_EQ(TakeSent(), CdStatusThen({Reply("play cdaudio")})) << poll;
  }
}

TEST_F(BgmTest, BgmCdRepeatTrackMissingFromTheDiscSendsTheErrorAsStart) {
  Disc("1", "playing");
  Answer("status cdaudio position track 20", 289);
  player.PollCdAudio(20);
  EXPECT_EQ(TakeSent(), CdStatusThen({Reply("status cdaudio position track 20"), Reply("play cdaudio from Error:289")}));
  EXPECT_TRUE(player.cd_available());
}

TEST_F(BgmTest, BgmCdUnusableDiscEndsThePoll) {
  const struct {
    const char* name;
    uint32_t track_code;
    const char* track;
    uint32_t count_code;
    const char* count;
    std::vector<SentCommand> sent;
  } cases[] = {
      {"no drive", 266, "", 0, "12", {Reply("status cdaudio current track")}},
      {"track reply says error", 0, "error", 0, "12", {Reply("status cdaudio current track")}},
      {"no track count", 0, "1", 262, "", {kCdStatus[0], kCdStatus[1]}},
      {"track count says Err", 0, "1", 0, "xErRx", {kCdStatus[0], kCdStatus[1]}},
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

TEST_F(BgmTest, BgmCdFailedModeQueryReadsThePreviousReplyAgain) {
  Disc("1", "stopped");
  player.PollCdAudio(0);
  FailSilently("status cdaudio mode", 262);
  TakeSent();
  player.PollCdAudio(0);
  EXPECT_EQ(TakeSent(), CdStatusThen({Reply("play cdaudio")}));

  Answer("status cdaudio mode", 0, "playing");
  player.PollCdAudio(0);
  FailSilently("status cdaudio mode", 262);
  TakeSent();
  player.PollCdAudio(0);
  EXPECT_EQ(TakeSent(), kCdStatus);
}

TEST_F(BgmTest, BgmCdModeReplyFillingItsBufferStillCounts) {
  Disc("1", "stopped" + std::string(300, '.'));
  player.PollCdAudio(0);
  EXPECT_EQ(TakeSent(), CdStatusThen({Reply("play cdaudio")}));
}

// --- MP3 ---

TEST_F(BgmTest, BgmMp3OpensThePathBetweenQuotesAndPlays) {
  player.OpenAndPlayMp3("C:\\My Music\\two words.mp3");
  EXPECT_EQ(TakeSent(), (std::vector<SentCommand>{
                            Direct("open \"C:\\My Music\\two words.mp3\" type MPEGVideo Alias MP3Play"),
                            Direct("play MP3Play")}));
}

TEST_F(BgmTest, BgmMp3FailedOpenIsNotPlayed) {
  const std::string open = "open \"C:\\\x83\x5c\x83\x93\\a.mp3\" type MPEGVideo Alias MP3Play";  // path bytes kept
  Answer(open, 277);
  player.OpenAndPlayMp3("C:\\\x83\x5c\x83\x93\\a.mp3");
  EXPECT_EQ(TakeSent(), std::vector<SentCommand>{Direct(open)});
}

TEST_F(BgmTest, BgmMp3IsPlayingOnlyWhenTheModeStartsWithPlaying) {
  const struct {
    const char* mode;
    bool playing;
  } cases[] = {
      {"playing", true}, {"playing and more", true}, {"stopped", false}, {"paused", false},
      {"not ready", false}, {"", false}, {"play", false}, {"Playing", false},
  };
  for (const auto& c : cases) {
    Answer("status MP3Play mode", 0, c.mode);
    EXPECT_EQ(player.IsMp3Playing(), c.playing) << c.mode;
    EXPECT_EQ(TakeSent(), std::vector<SentCommand>{Reply("status MP3Play mode", 30)}) << c.mode;
  }
  Answer("status MP3Play mode", 0, "playing" + std::string(40, '!'));  // fills the 30 bytes
  EXPECT_TRUE(player.IsMp3Playing());
}

TEST_F(BgmTest, BgmMp3RestartsWhenNotPlaying) {
  const std::vector<SentCommand> restart = {Reply("status MP3Play mode", 30), Direct("stop MP3Play"),
                                            Direct("play MP3Play from 0")};
  const struct {
    const char* mode;
    std::vector<SentCommand> sent;
  } cases[] = {
      {"playing", {Reply("status MP3Play mode", 30)}},
      {"stopped", restart},
      {"paused", restart},
      {"", restart},
  };
  for (const auto& c : cases) {
    Answer("status MP3Play mode", 0, c.mode);
    player.RestartMp3IfStopped();
    EXPECT_EQ(TakeSent(), c.sent) << c.mode;
  }
}

TEST_F(BgmTest, BgmMp3FailedModeQueryReadsThePreviousReplyAgain) {
  FailSilently("status MP3Play mode", 263);
  EXPECT_FALSE(player.IsMp3Playing());  // nothing read yet
  Answer("status MP3Play mode", 0, "playing");
  EXPECT_TRUE(player.IsMp3Playing());
  FailSilently("status MP3Play mode", 263);
  TakeSent();
  player.RestartMp3IfStopped();
  EXPECT_EQ(TakeSent(), std::vector<SentCommand>{Reply("status MP3Play mode", 30)});
}

TEST_F(BgmTest, BgmMp3CloseStopsThenCloses) {
  player.CloseMp3();
  EXPECT_EQ(TakeSent(), (std::vector<SentCommand>{Direct("stop MP3Play"), Direct("close MP3Play")}));
}

// --- WAV ---

TEST_F(BgmTest, BgmWavLoopsOnlyWithAWaveDevice) {
  for (unsigned devices : {0u, 1u, 2u}) {
    port.wave_devices = devices;
    port.sounds.clear();
    player.PlayWaveLooped("C:\\\x89\xb9\\loop sound.wav");
    if (devices == 0) {
      EXPECT_TRUE(port.sounds.empty());
      continue;
    }
    ASSERT_EQ(port.sounds.size(), 1u) << devices;
    EXPECT_TRUE(port.sounds[0].has_name);
    EXPECT_EQ(port.sounds[0].name, "C:\\\x89\xb9\\loop sound.wav");
    EXPECT_EQ(port.sounds[0].flags, 9u);
  }
  EXPECT_TRUE(port.sent.empty());
}

TEST_F(BgmTest, BgmWavStopPlaysNoSound) {
  player.StopWave();
  ASSERT_EQ(port.sounds.size(), 1u);
  EXPECT_FALSE(port.sounds[0].has_name);
  EXPECT_EQ(port.sounds[0].flags, 0u);
}

}  // namespace
