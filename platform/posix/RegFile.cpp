#include "platform/posix/RegFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "platform/Text.h"

namespace tavrel::platform::posix {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";

std::u16string Decode(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
    std::u16string out;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      out.push_back(
          static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
    return out;
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return text::FromUtf8(bytes);
}

std::vector<std::u16string_view> Lines(std::u16string_view s) {
  std::vector<std::u16string_view> lines;
  while (!s.empty()) {
    const size_t end = s.find(u'\n');
    std::u16string_view line = s.substr(0, end);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::u16string_view::npos) break;
    s.remove_prefix(end + 1);
  }
  return lines;
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

std::u16string NormalizeRoot(std::u16string_view path) {
  const size_t slash = path.find(u'\\');
  const std::u16string_view root = path.substr(0, slash);
  std::u16string out;
  if (text::EqualsNoCase(root, u"HKCU")) {
    out = u"HKEY_CURRENT_USER";
  } else if (text::EqualsNoCase(root, u"HKLM")) {
    out = u"HKEY_LOCAL_MACHINE";
  } else {
    out = std::u16string(root);
  }
  if (slash != std::u16string_view::npos) out += path.substr(slash);
  while (!out.empty() && out.back() == u'\\') out.pop_back();
  return out;
}

// A quoted text starting at s[0] == '"'; *rest receives what follows it.
std::optional<std::u16string> Quoted(std::u16string_view s, std::u16string_view* rest) {
  if (s.empty() || s[0] != u'"') return std::nullopt;
  std::u16string out;
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] == u'\\' && i + 1 < s.size()) {
      out.push_back(s[++i]);
    } else if (s[i] == u'"') {
      *rest = s.substr(i + 1);
      return out;
    } else {
      out.push_back(s[i]);
    }
  }
  return std::nullopt;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::optional<uint32_t> HexNumber(std::u16string_view s) {
  s = Trim(s);
  if (s.empty() || s.size() > 8) return std::nullopt;
  uint32_t v = 0;
  for (char16_t c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  return v;
}

std::optional<std::vector<uint8_t>> HexBytes(std::u16string_view s) {
  std::vector<uint8_t> out;
  while (!(s = Trim(s)).empty()) {
    const size_t comma = s.find(u',');
    const auto byte = HexNumber(s.substr(0, comma));
    if (!byte || *byte > 0xFF) return std::nullopt;
    out.push_back(static_cast<uint8_t>(*byte));
    if (comma == std::u16string_view::npos) break;
    s.remove_prefix(comma + 1);
  }
  return out;
}

// True when `key` is `path` or a key below it.
bool IsSameOrBelow(std::u16string_view key, std::u16string_view path) {
  if (key.size() < path.size() || !text::EqualsNoCase(key.substr(0, path.size()), path)) return false;
  return key.size() == path.size() || key[path.size()] == u'\\';
}

std::vector<uint8_t> Utf16WithNul(std::u16string_view s) {
  std::vector<uint8_t> out;
  for (char16_t c : s) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

// The value data after "=": fills `value` and tells whether it was understood.
bool ParseData(std::u16string_view data, RegValue* value) {
  data = Trim(data);
  if (!data.empty() && data[0] == u'"') {
    std::u16string_view rest;
    const auto s = Quoted(data, &rest);
    if (!s || !Trim(rest).empty()) return false;
    value->type = kRegSz;
    value->data = Utf16WithNul(*s);
    return true;
  }
  const size_t colon = data.find(u':');
  if (colon == std::u16string_view::npos) return false;
  const std::u16string_view kind = data.substr(0, colon);
  const std::u16string_view body = data.substr(colon + 1);
  if (text::EqualsNoCase(kind, u"dword")) {
    const auto v = HexNumber(body);
    if (!v) return false;
    value->type = kRegDword;
    value->data = {static_cast<uint8_t>(*v), static_cast<uint8_t>(*v >> 8), static_cast<uint8_t>(*v >> 16),
                   static_cast<uint8_t>(*v >> 24)};
    return true;
  }
  if (text::EqualsNoCase(kind, u"hex")) {
    value->type = kRegBinary;
  } else if (kind.size() > 5 && text::EqualsNoCase(kind.substr(0, 4), u"hex(") && kind.back() == u')') {
    const auto type = HexNumber(kind.substr(4, kind.size() - 5));
    if (!type) return false;
    value->type = *type;
  } else {
    return false;
  }
  auto bytes = HexBytes(body);
  if (!bytes) return false;
  value->data = std::move(*bytes);
  return true;
}

}  // namespace

RegKey& RegFile::Section(std::u16string_view path) {
  for (RegKey& key : keys_) {
    if (text::EqualsNoCase(key.path, path)) return key;
  }
  keys_.push_back(RegKey{std::u16string(path), {}});
  return keys_.back();
}

RegFile RegFile::Parse(std::string_view bytes) {
  RegFile file;
  const std::u16string content = Decode(bytes);
  const std::vector<std::u16string_view> lines = Lines(content);
  bool headerSeen = false;
  RegKey* section = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::u16string_view line = Trim(lines[i]);
    if (line.empty() || line[0] == u';') continue;
    if (!headerSeen) {
      if (line != kHeader) return RegFile();
      headerSeen = true;
      continue;
    }
    if (line[0] == u'[') {
      section = nullptr;
      if (line.back() != u']') continue;
      std::u16string_view path = line.substr(1, line.size() - 2);
      if (!path.empty() && path[0] == u'-') {
        file.Remove(NormalizeRoot(path.substr(1)));
        continue;
      }
      section = &file.Section(NormalizeRoot(path));
      continue;
    }
    if (section == nullptr) continue;
    RegValue value;
    std::u16string_view rest;
    if (line[0] == u'@') {
      rest = line.substr(1);
    } else if (auto name = Quoted(line, &rest)) {
      value.name = std::move(*name);
    } else {
      continue;
    }
    rest = Trim(rest);
    if (rest.empty() || rest[0] != u'=') continue;
    std::u16string data(Trim(rest.substr(1)));
    // Hex data may go on over several lines, each but the last ending in "\".
    while (!data.empty() && data.back() == u'\\' && data.find(u':') != std::u16string::npos &&
           i + 1 < lines.size()) {
      data.pop_back();
      data += Trim(lines[++i]);
    }
    auto& values = section->values;
    for (auto it = values.begin(); it != values.end(); ++it) {
      if (text::EqualsNoCase(it->name, value.name)) {
        values.erase(it);
        break;
      }
    }
    if (data == u"-") continue;
    if (ParseData(data, &value)) values.push_back(std::move(value));
  }
  return file;
}

RegFile RegFile::Load(const std::string& nativePath) {
  if (nativePath.empty()) return RegFile();
  std::ifstream in(nativePath, std::ios::binary);
  // A file that is there but cannot be opened or read through (no memory
  // for the stream, say) is a registry that failed, not an empty one: every
  // application would seem uninstalled.
  std::error_code error;
  if (!in && !std::filesystem::exists(nativePath, error) && !error) return RegFile();
  if (!in) throw std::runtime_error("the registry file cannot be read");
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("the registry file cannot be read");
  return Parse(bytes);
}

void RegFile::Remove(std::u16string_view path) {
  std::erase_if(keys_, [&](const RegKey& key) { return IsSameOrBelow(key.path, path); });
}

bool RegFile::HasKey(std::u16string_view path) const {
  const std::u16string wanted = NormalizeRoot(path);
  if (text::EqualsNoCase(wanted, u"HKEY_CURRENT_USER") || text::EqualsNoCase(wanted, u"HKEY_LOCAL_MACHINE"))
    return true;
  for (const RegKey& key : keys_) {
    if (IsSameOrBelow(key.path, wanted)) return true;
  }
  return false;
}

std::vector<RegValue> RegFile::ValuesOf(std::u16string_view path) const {
  const std::u16string wanted = NormalizeRoot(path);
  for (const RegKey& key : keys_) {
    if (text::EqualsNoCase(key.path, wanted)) return key.values;
  }
  return {};
}

}  // namespace tavrel::platform::posix
