// The renderer's bitmap reader on Windows: the file is mapped read-only and the
// platform converts its pixels to 24-bit colour (SetDIBits into a DIB section).
#pragma once

#include "bitmap_decoder.h"
#include "rgb_image.h"

// Reads and converts one bitmap file; on failure gives `report` (if any) one
// message and returns null. Plain 24-bit files, for which GDI's conversion is
// a copy, are copied without GDI, their rows split over tasks.
RgbImage* ReadBitmapImage(const char* path, BitmapReporter report, const TaskRunner& tasks = TaskRunner());

// The same with every file converted by GDI, for the tests to compare against.
RgbImage* ReadBitmapImageThroughGdi(const char* path, BitmapReporter report);

// MessageBox(GetFocus(), text, "Error", MB_OK): modal, owned by the focus window.
void ShowBitmapMessage(const char* text);
