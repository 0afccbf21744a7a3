#include "startup.h"

#include "shell_args.h"
#include "shell_paths.h"

// "Skyliner.dll が同じﾌｫﾙﾀﾞに見つかりません！" and the same for Skyliner.data,
// spelled as bytes so no compiler has to guess the source's encoding.
const char kMissingRendererText[] =
    "Skyliner.dll "
    "\xE3\x81\x8C\xE5\x90\x8C\xE3\x81\x98\xEF\xBE\x8C\xEF\xBD\xAB\xEF\xBE\x99\xEF\xBE\x80\xEF\xBE\x9E"
    "\xE3\x81\xAB\xE8\xA6\x8B\xE3\x81\xA4\xE3\x81\x8B\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\xEF\xBC\x81";
const char kMissingModelText[] =
    "Skyliner.data "
    "\xE3\x81\x8C\xE5\x90\x8C\xE3\x81\x98\xEF\xBE\x8C\xEF\xBD\xAB\xEF\xBE\x99\xEF\xBE\x80\xEF\xBE\x9E"
    "\xE3\x81\xAB\xE8\xA6\x8B\xE3\x81\xA4\xE3\x81\x8B\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\xEF\xBC\x81";
const char kMessageCaption[] = "Skyliner (ScreenSaver)";

StartupOutcome RunStartup(const std::string& arguments, const std::string& program_folder,
                          StartupActions& actions, const UiTexts& texts) {
  // Both lookups are made, whatever the first one finds.
  const bool saver_running = actions.WindowExists(kSaverCaption);
  const bool dialog_open = actions.WindowExists(kDialogCaption);
  if (saver_running || dialog_open) return StartupOutcome::kEndProgram;

  const char mode = ModeLetter(arguments);
  if (mode == 'P') {
    const bool shown = actions.ShowPreview(PreviewParentHandle(arguments));
    return shown ? StartupOutcome::kRunForms : StartupOutcome::kEndProgram;
  }

  actions.CreateWorkingFolder();
  actions.ReadSettings();
  if (!actions.ProgramFilePresent(program_folder + kRendererSuffix)) {
    actions.ShowMissingFileMessage(texts.missing_renderer);
    return StartupOutcome::kEndProgram;
  }
  if (!actions.ProgramFilePresent(program_folder + kModelSuffix)) {
    actions.ShowMissingFileMessage(texts.missing_model);
    return StartupOutcome::kEndProgram;
  }

  if (mode == 'C') {
    actions.RunSettingsDialog();
    return StartupOutcome::kEndProgram;
  }
  // An empty string runs the saver with the cursor left visible.
  if (!arguments.empty() && mode != 'S') return StartupOutcome::kEndProgram;
  if (mode == 'S') actions.HideCursor();
  return actions.StartSaverRun() ? StartupOutcome::kRunForms : StartupOutcome::kEndProgram;
}
