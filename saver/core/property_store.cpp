#include "property_store.h"

#include <algorithm>

namespace {

void AppendEscaped(const std::string& text, std::string* out) {
  for (const char c : text) {
    switch (c) {
      case '\\': *out += "\\\\"; break;
      case '=': *out += "\\="; break;
      case '\n': *out += "\\n"; break;
      case '\r': *out += "\\r"; break;
      default: *out += c;
    }
  }
}

// Reads escaped text from line[*pos] up to an unescaped stop character (or the
// end); false for a dangling or unknown escape.
bool ReadEscaped(const std::string& line, size_t* pos, char stop, std::string* out) {
  while (*pos < line.size() && line[*pos] != stop) {
    char c = line[(*pos)++];
    if (c == '\\') {
      if (*pos >= line.size()) return false;
      const char code = line[(*pos)++];
      switch (code) {
        case '\\': c = '\\'; break;
        case '=': c = '='; break;
        case 'n': c = '\n'; break;
        case 'r': c = '\r'; break;
        default: return false;
      }
    }
    *out += c;
  }
  return true;
}

}  // namespace

void PropertyStore::Write(const std::string& key, const std::string& value) {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [&key](const Entry& entry) { return entry.first == key; });
  if (found != entries_.end()) {
    found->second = value;
  } else {
    entries_.emplace_back(key, value);
  }
}

std::string PropertyStore::Read(const std::string& key, const std::string& default_value) const {
  for (const Entry& entry : entries_) {
    if (entry.first == key) return entry.second;
  }
  return default_value;
}

bool PropertyStore::Has(const std::string& key) const {
  return std::any_of(entries_.begin(), entries_.end(), [&key](const Entry& entry) { return entry.first == key; });
}

std::string PropertyStore::Serialise() const {
  std::string text;
  for (const Entry& entry : entries_) {
    AppendEscaped(entry.first, &text);
    text += '=';
    AppendEscaped(entry.second, &text);
    text += '\n';
  }
  return text;
}

bool PropertyStore::Parse(const std::string& text, PropertyStore* store) {
  PropertyStore parsed;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    size_t pos = 0;
    std::string key;
    std::string value;
    if (!ReadEscaped(line, &pos, '=', &key) || pos >= line.size()) return false;  // no '='
    ++pos;
    if (!ReadEscaped(line, &pos, '=', &value) || pos != line.size()) return false;  // a bare '=' in the value
    parsed.Write(key, value);
  }
  *store = std::move(parsed);
  return true;
}
