#include "settings_dialog_entry.h"

// Placeholder until the dialog exists: nothing is shown, and the start-up
// procedure ends the program as after a closed dialog.
void ShowSettingsDialogModal() {}
