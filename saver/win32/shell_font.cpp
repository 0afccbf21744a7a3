#include "shell_font.h"

#include "text_encoding.h"

FontDescription FontDescriptionOf(const DesignFont& font) {
  FontDescription description;
  if (!font.face) return description;
  description.face = font.face;
  description.size_centipoints = font.size_centipoints;
  description.weight = font.weight;
  description.charset = font.charset;
  description.underline = font.underline;
  return description;
}

HFONT CreateShellFont(const FontDescription& font, int dpi) {
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
