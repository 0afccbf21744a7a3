#include "saver_form.h"

#include <windows.h>

#include <string>

#include "bgm_player.h"
#include "form.h"
#include "renderer_launch.h"
#include "saver_rules.h"
#include "shell_args.h"
#include "shell_paths.h"
#include "shell_program.h"
#include "shell_state.h"
#include "system_mci_port.h"
#include "user_files.h"
#include "working_file_rules.h"

namespace {

// What the form keeps for the whole run.
struct SaverRun {
  Form form{kSaverFormDesign};
  BgmPlayer music{SystemMciPort()};
  RendererWatch watch;
  RendererLaunch launch;
  HANDLE renderer_process = nullptr;  // null when the renderer could not be started
  std::string renderer_path;          // RendererPath
};

SaverRun& Run() {
  static SaverRun run;
  return run;
}

MusicChoice Music() { return ChooseMusic(shell.settings.kind, shell.settings.file); }

void EnableTimer(const char* name, bool enabled) {
  if (FormTimer* timer = Run().form.Timer(name)) timer->SetEnabled(enabled);
}

void SetTickHandler(const char* name, void (*handler)()) {
  if (FormTimer* timer = Run().form.Timer(name)) timer->on_tick = handler;
}

bool TimerEnabled(const char* name) {
  FormTimer* timer = Run().form.Timer(name);
  return timer && timer->enabled();
}

// The screen the display way flies over: the primary one, or every monitor.
CaptureArea DesktopArea() {
  const CaptureArea primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const CaptureArea all = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return ChooseCaptureArea(shell.settings.display, primary, all);
}

// The form and Pic_1 take the captured screen's size, and Pic_1
// receives the desktop mirrored left to right. The copy is straight and the
// mirror is done on the pixels: a stretch with a negative width lands a column
// off and resamples under some GDIs, which loses the screen's first column.
void CaptureDesktop(Form& form) {
  const CaptureArea area = DesktopArea();
  const int width = area.width;
  const int height = area.height;
  form.SetClientSize(width, height);
  FormElement* element = form.Element(element_names::kDesktopPicture);
  if (!element) return;
  form.MoveElement(*element, element->rect.left, element->rect.top, width, height);
  PictureSurface& picture = *element->picture;
  HWND desktop = GetDesktopWindow();
  HDC desktop_dc = GetDC(desktop);
  BitBlt(picture.dc(), 0, 0, width, height, desktop_dc, area.left, area.top, SRCCOPY);
  picture.Mirror();
  form.Refresh();
  if (desktop_dc) ReleaseDC(desktop, desktop_dc);
}

// Writes the picture of one of the form's picture surfaces as a bitmap file.
FileFiller PictureFiller(Form& form, const char* element) {
  const PictureSurface* surface = form.Picture(element);
  return [surface](HANDLE file) { return surface && surface->WriteBitmap(file); };
}

// The working file set, each file the user's own: the three pictures as bitmap
// files and a copy of the model. True for each file written whole.
WorkingFileResults WriteWorkingFiles(Form& form) {
  const std::string model = shell.program_folder + kModelSuffix;
  const FileFiller fillers[] = {PictureFiller(form, element_names::kDesktopPicture),
                                PictureFiller(form, element_names::kPuffPicture),
                                PictureFiller(form, element_names::kSkyPicture),
                                [&model](HANDLE file) { return CopyInto(model, file); }};
  static_assert(sizeof fillers / sizeof fillers[0] == kWorkingFilePaths.size(), "one filler a file");
  WorkingFileResults written = {};
  for (size_t i = 0; i < written.size(); ++i) {
    written[i] = WriteUserFile(kWorkingFilePaths[i], fillers[i]);
    MarkRunPhase(kWorkingFilePaths[i]);
  }
  return written;
}

// The renderer, made while the form loaded, runs now that its files are
// complete; it is not waited for.
void StartRenderer(SaverRun& run) { run.renderer_process = run.launch.Start(); }

// The music the settings choose; the MP3 and the CD get their watch timers.
void StartMusic(SaverRun& run) {
  switch (Music()) {
    case MusicChoice::kCd:
      run.music.OpenCdAudio();
      EnableTimer(element_names::kCdTimer, true);
      break;
    case MusicChoice::kWav:
      run.music.PlayWaveLooped(shell.settings.file);
      break;
    case MusicChoice::kMp3:
      run.music.OpenAndPlayMp3(shell.settings.file);
      EnableTimer(element_names::kMp3Timer, true);
      break;
    case MusicChoice::kNone:
      break;
  }
}

bool RendererRunning(const SaverRun& run) {
  return run.renderer_process && WaitForSingleObject(run.renderer_process, 0) == WAIT_TIMEOUT;
}

void OnLoad() {
  SaverRun& run = Run();
  MarkRunPhase("saver form made");
  CaptureDesktop(run.form);
  MarkRunPhase("desktop captured");
  if (StartAfterWrites(WriteWorkingFiles(run.form)) == RunStart::kAbandonRun) {
    run.launch.Abandon();
    run.form.Unload();  // removes what was written and ends the run
    return;
  }
  StartRenderer(run);
  MarkRunPhase("renderer started");
  StartMusic(run);
  MarkRunPhase("music started");
}

// Timer1, every 1000 ms while an MP3 plays: loop it.
void OnMp3Tick() { Run().music.RestartMp3IfStopped(); }

// Timer2, every 200 ms for the audio CD: once the CD cannot be played, the watch stays off.
void OnCdTick() {
  SaverRun& run = Run();
  run.music.PollCdAudio(shell.settings.repeat);
  EnableTimer(element_names::kCdTimer, run.music.cd_available());
}

// Timer3, every 500 ms: the run ends once the renderer is gone.
void OnRendererWatchTick() {
  SaverRun& run = Run();
  const bool window_found = FindWindowA(nullptr, kRendererCaption) != nullptr;
  if (!run.watch.Tick(window_found, RendererRunning(run))) return;
  EnableTimer(element_names::kRendererTimer, false);
  run.form.Unload();
}

// Whatever the reason for the unload: stop the music, give the cursor back, end.
void OnQueryUnload() {
  SaverRun& run = Run();
  if (TimerEnabled(element_names::kCdTimer)) {
    EnableTimer(element_names::kCdTimer, false);
    run.music.CloseCdAudio();
  }
  const MusicChoice music = Music();
  if (music == MusicChoice::kWav) run.music.StopWave();
  if (music == MusicChoice::kMp3) {
    EnableTimer(element_names::kMp3Timer, false);
    run.music.CloseMp3();
  }
  // The screen picture does not outlive the run; the folder stays for the next.
  for (const char* path : kWorkingFilePaths) RemoveUserFile(path);
  if (ModeLetter(shell.arguments) == 'S') shell.saved_cursor_count = ShowCursor(shell.saved_cursor_count);
  EndProgram();
}

}  // namespace

bool LoadSaverForm() {
  SaverRun& run = Run();
  run.form.on_load = OnLoad;
  run.form.on_query_unload = OnQueryUnload;
  run.renderer_path = shell.program_folder + kRendererSuffix;
  run.launch.Prepare(run.renderer_path, RendererArgument(shell.settings.display));
  if (!run.form.Load()) {
    run.launch.Abandon();
    return false;
  }
  // The ticks come from the message loop, which runs only after the load.
  SetTickHandler(element_names::kMp3Timer, OnMp3Tick);
  SetTickHandler(element_names::kCdTimer, OnCdTick);
  SetTickHandler(element_names::kRendererTimer, OnRendererWatchTick);
  return true;
}
