// The shell's windows as data: each form's own settings and its elements, in
// the state they have before any code runs. Positions and sizes are in twips
// (1440 to the inch); the forms measure in pixels at run time.
#pragma once

#include <cstddef>
#include <cstdint>

// Twips to pixels at the given dots per inch (15 twips a pixel at 96), to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

// The built-in pictures a design names; the Windows layer maps each to its resource.
enum class DesignPicture {
  kNone, kSky, kPuff, kPreview, kPreviewBackground,
  kMetalStrip, kMarkEmpty, kMarkChosen,  // the settings dialog's
};

// The mouse pointer over an element. kCustomNone is the custom setting
// without a pointer picture, which shows the arrow.
enum class DesignCursor { kDefault, kCustomNone, kHand };

struct DesignColour {
  bool window_colour;  // the system colour of the window background (index 5)
  uint8_t red, green, blue;
};

constexpr DesignColour kWindowColour = {true, 0, 0, 0};
constexpr DesignColour kBlack = {false, 0, 0, 0};
constexpr DesignColour kWhite = {false, 255, 255, 255};

// A font as the designs give it: face (UTF-8), size in hundredths of a point.
struct DesignFont {
  const char* face;     // nullptr: the form's font
  int size_centipoints;
  int weight;
  int charset;
  bool underline;
};

// kOptionGroup: the keyboard's stop for a group of windowless option rows (a
// mark and its caption each). It takes the focus in the tab order and the
// arrow keys; it has no look of its own and no size.
enum class ElementKind { kPictureBox, kImage, kTimer, kLabel, kButton, kComboBox, kShape, kOptionGroup };
enum class FormBorder { kNone, kFixedSingle };
enum class FormStartPosition { kDefault, kManual };
enum class ScaleUnit { kPixels, kTwips };

constexpr int kNoIndex = -1;     // an element outside any control array
constexpr int kNoTabIndex = -1;  // an element that never takes the focus

struct ElementDesign {
  ElementKind kind;
  const char* name;
  int index;              // its index in a control array, or kNoIndex
  const char* container;  // the panel it lies in, or nullptr for the form
  int left, top, width, height;  // twips, relative to the container
  bool visible;
  DesignColour background;
  DesignPicture picture;
  bool sized_to_picture;
  unsigned timer_interval_ms;
  bool timer_enabled;
  int tab_index;
  const char* caption;  // UTF-8, nullptr for none
  DesignFont font;
  // Labels and shapes.
  DesignColour foreground;  // text, or a shape's outline
  bool centred;             // text centred across the element
  bool transparent;         // no background of its own
  bool border;              // a single-line frame
  bool auto_size;           // the element takes its text's size
  DesignCursor cursor;
};

struct FormDesign {
  const char* name;
  const char* caption;  // UTF-8
  FormBorder border;
  DesignColour background;
  DesignPicture picture;  // drawn at its own size at the client area's top-left
  int client_width, client_height;  // twips
  ScaleUnit scale_unit;
  FormStartPosition start_position;
  const ElementDesign* elements;
  size_t element_count;
  bool icon;  // the program's dialog icon in the title bar
};

// The width in twips an element's caption may take: a button's inside its
// 4-pixel frame, a fixed label's own width; a label sized to its text may
// grow until the next visible element on its row, or its container's edge.
int TextRoomTwips(const FormDesign& form, const ElementDesign& element);
constexpr int kButtonFrameTwips = 60;

// The element of that name (and index, for control arrays), or nullptr.
const ElementDesign* FindElementDesign(const FormDesign& form, const char* name, int index = kNoIndex);

// The names the code looks elements and timers up by, spelled once so that a
// typo fails to compile instead of finding nothing.
namespace element_names {
constexpr char kDesktopPicture[] = "Pic_1";
constexpr char kPuffPicture[] = "Pic_2";
constexpr char kSkyPicture[] = "Pic_3";
constexpr char kMp3Timer[] = "Timer1";            // the MP3 loop check
constexpr char kCdTimer[] = "Timer2";             // the audio-CD watch
constexpr char kRendererTimer[] = "Timer3";       // the renderer watch
constexpr char kPreviewImage[] = "Img_Prev";
constexpr char kCancelButton[] = "Cmd_Can";
constexpr char kSetButton[] = "Cmd_Set";
constexpr char kFileButton[] = "Cmd_File";
constexpr char kMetalStrip[] = "Pic_Mbl";
constexpr char kPanel[] = "Pic_C";
constexpr char kAddress[] = "lbl_URL";
constexpr char kMarkPictures[] = "Img_Ra";        // index 0 unchosen, 1 chosen
constexpr char kRepeatBox[] = "BGM_Repeat";
constexpr char kKindMarks[] = "Img_BGM";          // index = music kind
constexpr char kKindCaptions[] = "lbl_BGM";       // index = music kind
constexpr char kLabels[] = "lbl";                 // lbl(14) the repeat caption, lbl(15) the heading
constexpr int kRepeatCaptionIndex = 14;
constexpr int kDisplayHeadingIndex = 16;          // lbl(16), beside lbl(15)
constexpr char kFileName[] = "lbl_Fname";
constexpr char kDisplayKeys[] = "Opt_Display";    // the display rows' keyboard stop
constexpr char kDisplayMarks[] = "Img_Display";   // index = display way
constexpr char kDisplayCaptions[] = "lbl_Display";  // index = display way
}  // namespace element_names

extern const FormDesign kSaverFormDesign;    // Jetscape_S
extern const FormDesign kPreviewFormDesign;  // Jetscape_R
extern const FormDesign kDialogFormDesign;   // Jetscape_P
