// The shell's form runtime, run under Wine: picture surfaces and the bitmap
// files they write, forms built from the designs, timers, the unload events,
// the message loop's end, and the preview form inside a parent window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "form.h"
#include "preview_form.h"
#include "shell_font.h"
#include "text_encoding.h"
#include "ui_texts.h"

namespace {

std::string ScratchPath(const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "skyliner_forms_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The blue, green, red bytes of pixel x,y (y from the top) in a 24-bit bottom-up file.
std::vector<uint8_t> FilePixel(const std::vector<uint8_t>& file, int width, int height, int x, int y) {
  const size_t offset = kBitmapHeadersSize + BitmapRowStride(width) * static_cast<size_t>(height - 1 - y) + x * 3;
  return std::vector<uint8_t>(file.begin() + offset, file.begin() + offset + 3);
}

std::vector<uint8_t> Bgr(COLORREF colour) { return {GetBValue(colour), GetGValue(colour), GetRValue(colour)}; }

// Runs the forms' loop with a watchdog that ends it after 5 s; true when the
// loop returned by itself.
bool watchdog_fired = false;
void CALLBACK QuitLoop(HWND, UINT, UINT_PTR, DWORD) {
  watchdog_fired = true;
  PostQuitMessage(1);
}

bool LoopEndsByItself() {
  watchdog_fired = false;
  const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, QuitLoop);
  RunFormsMessageLoop();
  KillTimer(nullptr, watchdog);
  return !watchdog_fired;
}

TEST(PictureSurface, SavesItsWholeImageBottomUp) {
  PictureSurface surface;
  ASSERT_TRUE(surface.Resize(5, 3, RGB(200, 10, 20)));
  SetPixelV(surface.dc(), 0, 0, RGB(1, 2, 3));
  SetPixelV(surface.dc(), 4, 2, RGB(40, 50, 60));
  const std::string path = ScratchPath("save.bmp");
  ASSERT_TRUE(surface.SaveBitmap(path));
  const std::vector<uint8_t> file = ReadFileBytes(path);
  std::remove(path.c_str());
  ASSERT_EQ(file.size(), kBitmapHeadersSize + 16 * 3);
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + kBitmapHeadersSize), BitmapFileHeaders(5, 3));
  const struct {
    int x, y;
    COLORREF colour;
  } cases[] = {{0, 0, RGB(1, 2, 3)}, {4, 2, RGB(40, 50, 60)}, {1, 0, RGB(200, 10, 20)}, {4, 0, RGB(200, 10, 20)}};
  for (const auto& c : cases) EXPECT_EQ(FilePixel(file, 5, 3, c.x, c.y), Bgr(c.colour)) << c.x << "," << c.y;
}

TEST(PictureSurface, ResizeKeepsTheImageAtTheTopLeft) {
  PictureSurface surface;
  ASSERT_TRUE(surface.Resize(2, 2, RGB(0, 0, 0)));
  SetPixelV(surface.dc(), 1, 1, RGB(9, 8, 7));
  ASSERT_TRUE(surface.Resize(4, 3, RGB(0, 0, 255)));
  EXPECT_EQ(surface.width(), 4);
  EXPECT_EQ(surface.height(), 3);
  EXPECT_EQ(GetPixel(surface.dc(), 1, 1), RGB(9, 8, 7));
  EXPECT_EQ(GetPixel(surface.dc(), 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(surface.dc(), 3, 2), RGB(0, 0, 255));
}

TEST(PictureSurface, AnEmptySurfaceWritesNoFile) {
  PictureSurface surface;
  const std::string path = ScratchPath("empty.bmp");
  EXPECT_FALSE(surface.SaveBitmap(path));
  EXPECT_TRUE(surface.Resize(0, 7, RGB(0, 0, 0)));
  EXPECT_FALSE(surface.SaveBitmap(path));
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(surface.LoadPictureResource(GetModuleHandleA(nullptr), 999));
}

TEST(PictureSurface, DrawsAtItsOwnSizeCutAtTheClip) {
  PictureSurface source, target;
  ASSERT_TRUE(source.Resize(4, 4, RGB(255, 255, 255)));
  ASSERT_TRUE(target.Resize(6, 6, RGB(0, 0, 0)));
  const RECT clip = {1, 1, 3, 3};
  source.Draw(target.dc(), 1, 1, clip);
  const struct {
    int x, y;
    COLORREF colour;
  } cases[] = {{1, 1, RGB(255, 255, 255)}, {2, 2, RGB(255, 255, 255)}, {3, 3, RGB(0, 0, 0)},
               {0, 0, RGB(0, 0, 0)},       {4, 1, RGB(0, 0, 0)},       {1, 4, RGB(0, 0, 0)}};
  for (const auto& c : cases) EXPECT_EQ(GetPixel(target.dc(), c.x, c.y), c.colour) << c.x << "," << c.y;
}

TEST(Form, SaverDesignMakesAHiddenBorderlessWindowWithItsTimers) {
  Form form(kSaverFormDesign);
  int loads = 0;
  form.on_load = [&] { ++loads; };
  ASSERT_TRUE(form.Load());
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(FindWindowA(nullptr, "Jetscape_Main"), form.window());
  EXPECT_FALSE(IsWindowVisible(form.window()));
  const LONG style = GetWindowLongA(form.window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  // Sizes and timers as the design gives them.
  const FormDesign& design = kSaverFormDesign;
  const int dpi = ScreenDpi();
  RECT client;
  GetClientRect(form.window(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(design.client_width, dpi));
  EXPECT_EQ(client.bottom, TwipsToPixels(design.client_height, dpi));
  int timers = 0;
  for (size_t i = 0; i < design.element_count; ++i) {
    const ElementDesign& e = design.elements[i];
    if (e.kind != ElementKind::kTimer) continue;
    ++timers;
    FormTimer* timer = form.Timer(e.name);
    ASSERT_NE(timer, nullptr) << e.name;
    EXPECT_EQ(timer->enabled(), e.timer_enabled) << e.name;
    EXPECT_EQ(timer->interval_ms(), e.timer_interval_ms) << e.name;
  }
  EXPECT_EQ(timers, 3);
  const ElementDesign* work_design = FindElementDesign(design, "Pic_1");
  ASSERT_NE(work_design, nullptr);
  PictureSurface* work = form.Picture("Pic_1");
  ASSERT_NE(work, nullptr);
  EXPECT_EQ(work->width(), TwipsToPixels(work_design->width, dpi));
  EXPECT_EQ(work->height(), TwipsToPixels(work_design->height, dpi));
  EXPECT_EQ(form.Element("Pic_9"), nullptr);
  form.SetClientSize(300, 200);
  GetClientRect(form.window(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
}

// A close request and the system's shutdown go through the same unload, once.
TEST(Form, CloseRequestAndShutdownRaiseQueryUnloadThenUnloadAndEndTheLoop) {
  const struct {
    const char* name;
    UINT message;
    bool posted;
  } cases[] = {{"close", WM_CLOSE, true}, {"shutdown", WM_QUERYENDSESSION, false}};
  for (const auto& c : cases) {
    Form form(kSaverFormDesign);
    std::string events;
    form.on_query_unload = [&] { events += "query;"; };
    form.on_unload = [&] { events += "unload;"; };
    ASSERT_TRUE(form.Load());
    HWND window = form.window();
    if (c.posted) {
      PostMessageA(window, c.message, 0, 0);
    } else {
      EXPECT_EQ(SendMessageW(window, c.message, 0, 0), TRUE) << c.name;
      EXPECT_EQ(events, "query;unload;") << c.name;  // already, before the loop runs
    }
    EXPECT_TRUE(LoopEndsByItself()) << c.name;
    EXPECT_EQ(events, "query;unload;") << c.name;
    EXPECT_FALSE(form.loaded()) << c.name;
    EXPECT_FALSE(IsWindow(window)) << c.name;
    form.Unload();  // a second unload raises nothing
    EXPECT_EQ(events, "query;unload;") << c.name;
  }
}

// Needs the program's pictures linked in (skyliner.rc).
TEST(Form, PreviewPaintsItsPicturesAtTheirOwnSizeOnBlack) {
  PictureSurface preview_picture, background_picture;
  ASSERT_TRUE(preview_picture.LoadPictureResource(GetModuleHandleA(nullptr), PictureResourceId(DesignPicture::kPreview)));
  ASSERT_TRUE(background_picture.LoadPictureResource(GetModuleHandleA(nullptr),
                                                     PictureResourceId(DesignPicture::kPreviewBackground)));
  EXPECT_EQ(preview_picture.width(), 152);
  EXPECT_EQ(preview_picture.height(), 112);
  Form form(kPreviewFormDesign);
  ASSERT_TRUE(form.Load());
  form.SetClientSize(200, 150);
  FormElement* image = form.Element("Img_Prev");
  ASSERT_NE(image, nullptr);
  form.MoveElement(*image, 0, 0, 100, 80);
  PictureSurface screen;
  ASSERT_TRUE(screen.Resize(200, 150, RGB(255, 0, 255)));
  form.EraseBackground(screen.dc());
  form.Paint(screen.dc());
  const struct {
    int x, y;
    COLORREF expected;
  } cases[] = {
      {50, 40, GetPixel(preview_picture.dc(), 50, 40)},       // the image, at its own size
      {99, 79, GetPixel(preview_picture.dc(), 99, 79)},
      {120, 40, GetPixel(background_picture.dc(), 120, 40)},  // cut at the element's edge: the form's picture shows
      {50, 100, GetPixel(background_picture.dc(), 50, 100)},
      {170, 40, RGB(0, 0, 0)},                                 // beyond both pictures: the black background
      {120, 130, RGB(0, 0, 0)},
  };
  for (const auto& c : cases) EXPECT_EQ(GetPixel(screen.dc(), c.x, c.y), c.expected) << c.x << "," << c.y;
  form.Unload();
  EXPECT_TRUE(LoopEndsByItself());
}

// A timer's design, switched off.
ElementDesign TimerDesign(const char* name, unsigned interval_ms) {
  ElementDesign timer = {};
  timer.kind = ElementKind::kTimer;
  timer.name = name;
  timer.index = kNoIndex;
  timer.timer_interval_ms = interval_ms;
  timer.tab_index = kNoTabIndex;
  return timer;
}

TEST(FormTimer, TicksOnTheLoopOnlyWhileEnabled) {
  const ElementDesign timers[] = {TimerDesign("Counter", 20), TimerDesign("Idle", 10)};
  FormDesign design = kPreviewFormDesign;
  design.elements = timers;
  design.element_count = 2;
  Form form(design);
  ASSERT_TRUE(form.Load());
  int ticks = 0;
  FormTimer& timer = *form.Timer("Counter");
  FormTimer& idle = *form.Timer("Idle");
  int idle_ticks = 0;
  idle.on_tick = [&] { ++idle_ticks; };
  timer.on_tick = [&] {
    if (++ticks == 3) form.Unload();
  };
  timer.SetEnabled(true);
  EXPECT_TRUE(LoopEndsByItself());
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(idle_ticks, 0);
}

TEST(PreviewForm, RefusesAMissingOrStaleParent) {
  EXPECT_FALSE(ShowPreviewForm(0));
  HWND stale = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const int64_t handle = reinterpret_cast<intptr_t>(stale);
  DestroyWindow(stale);
  EXPECT_FALSE(ShowPreviewForm(handle));
  EXPECT_EQ(FindWindowA(nullptr, "Preview Window"), nullptr);
}

TEST(PreviewForm, FillsItsParentAndEndsWithIt) {
  HWND parent = CreateWindowExA(0, "STATIC", "preview area", WS_POPUP | WS_VISIBLE, 50, 40, 200, 150, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  ASSERT_TRUE(ShowPreviewForm(reinterpret_cast<intptr_t>(parent)));
  HWND preview = GetWindow(parent, GW_CHILD);
  ASSERT_NE(preview, nullptr);
  char caption[64] = {};
  GetWindowTextA(preview, caption, sizeof caption);
  EXPECT_STREQ(caption, "Preview Window");
  EXPECT_TRUE(GetWindowLongA(preview, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetAncestor(preview, GA_PARENT), parent);  // GetParent gives the owner of a WS_POPUP window
  EXPECT_TRUE(IsChild(parent, preview));
  EXPECT_TRUE(IsWindowVisible(preview));
  RECT rect;
  GetWindowRect(preview, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}), std::vector<LONG>({0, 0, 200, 150}));
  DestroyWindow(parent);
  EXPECT_TRUE(LoopEndsByItself());
  EXPECT_FALSE(IsWindow(preview));
}

// What the preview painted, read back from the screen: a child of another
// process's window shows nothing under Wine, so the test hosts it itself.
TEST(PreviewForm, PaintsItsPictureInsideTheParent) {
  PictureSurface picture, shown;
  ASSERT_TRUE(picture.LoadPictureResource(GetModuleHandleA(nullptr), PictureResourceId(DesignPicture::kPreview)));
  HWND parent = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "host", WS_POPUP | WS_VISIBLE, 30, 20, 200, 150, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(ShowPreviewForm(reinterpret_cast<intptr_t>(parent)));
  MSG message;
  for (DWORD end = GetTickCount() + 500; GetTickCount() < end; Sleep(10)) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  shown.Resize(200, 150, RGB(255, 0, 255));
  HDC screen = GetDC(nullptr);
  BitBlt(shown.dc(), 0, 0, 200, 150, screen, 30, 20, SRCCOPY);
  ReleaseDC(nullptr, screen);
  int differing = 0;  // the whole picture at its own size from the top-left, black beyond it
  for (int y = 0; y < 150; ++y) {
    for (int x = 0; x < 200; ++x) {
      const bool inside = x < picture.width() && y < picture.height();
      differing += GetPixel(shown.dc(), x, y) != (inside ? GetPixel(picture.dc(), x, y) : RGB(0, 0, 0));
    }
  }
  EXPECT_EQ(differing, 0);
  DestroyWindow(parent);
  EXPECT_TRUE(LoopEndsByItself());
}

// Each caption of either language fits its element's room in the design, in
// the design's font as the system renders it.
TEST(UiTexts, EveryCaptionFitsItsElementInTheDesignFont) {
  HDC dc = GetDC(nullptr);
  for (const UiTexts* texts : {&kJapaneseTexts, &kEnglishTexts}) {
    for (size_t i = 0; i < kEnglishTexts.caption_count; ++i) {
      const CaptionText& caption = kEnglishTexts.captions[i];
      const ElementDesign& element = *FindElementDesign(kDialogFormDesign, caption.element, caption.index);
      HFONT font = CreateShellFont(FontDescriptionOf(element.font), 96);
      HGDIOBJ old = SelectObject(dc, font);
      const std::wstring text = WidenUtf8(CaptionOf(*texts, element));
      SIZE size = {};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      DeleteObject(SelectObject(dc, old));
      EXPECT_LE(size.cx, TwipsToPixels(TextRoomTwips(kDialogFormDesign, element), 96)) << CaptionOf(*texts, element);
    }
  }
  ReleaseDC(nullptr, dc);
}

}  // namespace
