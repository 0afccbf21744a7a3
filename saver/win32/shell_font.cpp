#include "shell_font.h"

#include "text_encoding.h"

ButtonFont ButtonFontOf(const DesignFont& font) {
  ButtonFont button_font;
  if (!font.face) return button_font;
  button_font.face = font.face;
  button_font.size_centipoints = font.size_centipoints;
  button_font.weight = font.weight;
  button_font.charset = font.charset;
  button_font.underline = font.underline;
  return button_font;
}

HFONT CreateShellFont(const ButtonFont& font, int dpi) {
  LOGFONTW description = {};
  description.lfHeight = -MulDiv(font.size_centipoints, dpi, 7200);
  description.lfWeight = font.weight;
  description.lfItalic = font.italic;
  description.lfUnderline = font.underline;
  description.lfStrikeOut = font.strikethrough;
  description.lfCharSet = static_cast<BYTE>(font.charset);
  const std::wstring face = WidenUtf8(font.face);
  lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&description);
}
