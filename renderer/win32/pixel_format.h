// The pixel format the renderer asks for, shared with the start-up benchmark's
// bare GL program so that both measure the same request.
#pragma once

#include <windows.h>

// Double-buffered RGBA with a 16-bit depth buffer and the given colour depth.
inline PIXELFORMATDESCRIPTOR DescribePixelFormat(int bits) {
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = static_cast<BYTE>(bits);
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  return format;
}
