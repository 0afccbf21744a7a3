#include "shell_main.h"

#include <windows.h>

#include "form.h"
#include "shell_args.h"
#include "shell_program.h"
#include "shell_state.h"
#include "startup.h"
#include "startup_actions.h"

void RunShell(PhaseObserver phase_observer) {
  shell.phase_observer = phase_observer;
  shell.arguments = ArgumentsOf(GetCommandLineA());
  shell.program_folder = ProgramFolder();
  shell.texts = &UiTextsFor(GetUserDefaultUILanguage());
  Win32StartupActions actions;
  if (RunStartup(shell.arguments, shell.program_folder, actions, *shell.texts) == StartupOutcome::kRunForms)
    RunFormsMessageLoop();
  EndProgram();
}
