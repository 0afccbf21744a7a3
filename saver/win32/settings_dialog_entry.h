// The settings dialog's entry for the start-up procedure.
#pragma once

// Shows the settings dialog modally, owned by no window, and returns when it
// has closed.
void ShowSettingsDialogModal();
