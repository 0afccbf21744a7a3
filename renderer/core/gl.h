// OpenGL 1.1 and GLU for the portable core, without pulling in <windows.h>.
#pragma once

#if defined(_WIN32) && !defined(APIENTRY)
// The Windows GL headers expect these from <windows.h>; define just what they need.
#define APIENTRY __stdcall
#define SKYLINER_UNDEF_APIENTRY
#endif
#if defined(_WIN32) && !defined(WINGDIAPI)
#ifdef _GDI32_  // calls by name, for the delay-import thunks (cmake/delay_imports.cmake)
#define WINGDIAPI
#else
#define WINGDIAPI __declspec(dllimport)
#endif
#define SKYLINER_UNDEF_WINGDIAPI
#endif
#if defined(_WIN32) && !defined(CALLBACK)
#define CALLBACK __stdcall
#define SKYLINER_UNDEF_CALLBACK
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef SKYLINER_UNDEF_APIENTRY
#undef APIENTRY
#undef SKYLINER_UNDEF_APIENTRY
#endif
#ifdef SKYLINER_UNDEF_WINGDIAPI
#undef WINGDIAPI
#undef SKYLINER_UNDEF_WINGDIAPI
#endif
#ifdef SKYLINER_UNDEF_CALLBACK
#undef CALLBACK
#undef SKYLINER_UNDEF_CALLBACK
#endif
