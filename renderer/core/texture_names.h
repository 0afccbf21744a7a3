// Which texture file names a model may give. A name is taken relative to the
// current directory; one that leaves it (a drive, a root, a network host or a
// device, or a ".." step) could make the renderer open a share and hand the
// user's credentials to its host, or open a pipe or a device.
#pragma once

#include <string>

// True for a name the renderer refuses to open: absolute, drive-qualified,
// UNC or device (starting with '\' or '/', or a letter and ':'), with a ".."
// component (either separator), or naming a reserved DOS device (CON, NUL,
// COM1, ...). An empty name is not refused here: it means no texture; nor is
// one of the working folder's three pictures, spelt in any case.
bool IsRefusedTextureName(const std::string& name);
