// Jetscape_S: the hidden saver form. Its load event captures the desktop,
// writes the working files, starts the renderer and the music; its timers keep
// the music going and watch the renderer; its query-unload event stops the
// music, gives the cursor back and ends the program.
#pragma once

// Loads the form without showing it. False when its window cannot be made.
bool LoadSaverForm();
