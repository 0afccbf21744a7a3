#include "settings_dialog_entry.h"

#include "settings_dialog.h"

void ShowSettingsDialogModal() { ShowSettingsDialog(); }
