// The settings dialog Jetscape_P: the music kind, the CD track to repeat, the
// music file and the display way, stored by Set into Skyliner.ini beside the
// program.
#pragma once

// Shows the dialog modally, owned by no window; returns once it has closed.
// It edits the shared settings in place and writes them only on Set.
void ShowSettingsDialog();
