#include "tools/lumora/camera_text.h"

#include <cstdint>

namespace lumora::cli {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The code point at `i` of valid UTF-8, `i` moved past it.
uint32_t NextCodePoint(const std::string& text, std::size_t& i) {
  uint8_t lead = static_cast<uint8_t>(text[i++]);
  int more = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
  uint32_t cp = more == 0 ? lead : lead & (0x3F >> more);
  for (int k = 0; k < more && i < text.size(); ++k) cp = cp << 6 | (static_cast<uint8_t>(text[i++]) & 0x3F);
  return cp;
}

bool IsControl(uint32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

bool IsWide(uint32_t cp) {
  return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF && cp != 0x303F) ||
         (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
         (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x1F300 && cp <= 0x1F64F) ||
         (cp >= 0x20000 && cp <= 0x3FFFD);
}

bool IsCombining(uint32_t cp) {
  return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) || (cp >= 0x20D0 && cp <= 0x20FF) ||
         (cp >= 0xFE20 && cp <= 0xFE2F);
}

}  // namespace

std::string Windows1252ToUtf8(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    uint8_t b = static_cast<uint8_t>(c);
    uint32_t cp = b;
    if (b >= 0x80 && b <= 0x9F && kWindows1252High[b - 0x80] != 0) cp = kWindows1252High[b - 0x80];
    AppendUtf8(cp, out);
  }
  return out;
}

bool IsValidUtf8(const std::string& bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    uint8_t lead = static_cast<uint8_t>(bytes[i]);
    int more;
    uint32_t min;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3, min = 0x10000;
    } else {
      return false;
    }
    if (i + more >= bytes.size()) return false;
    uint32_t cp = lead & (0x3F >> more);
    for (int k = 1; k <= more; ++k) {
      uint8_t b = static_cast<uint8_t>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = cp << 6 | (b & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and code points past Unicode's end.
    if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    i += more + 1;
  }
  return true;
}

std::string CameraText(const std::string& bytes, const CodePageReader& readCodePage) {
  if (IsValidUtf8(bytes)) return bytes;
  return readCodePage ? readCodePage(bytes) : Windows1252ToUtf8(bytes);
}

std::string Utf8ControlsReplaced(const std::string& text, bool keepLineFeeds) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t start = i;
    uint32_t cp = NextCodePoint(text, i);
    if (IsControl(cp) && !(keepLineFeeds && cp == '\n')) {
      out += '?';
    } else {
      out.append(text, start, i - start);
    }
  }
  return out;
}

std::size_t DisplayWidth(const std::string& text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    uint32_t cp = NextCodePoint(text, i);
    width += IsCombining(cp) ? 0 : IsWide(cp) ? 2 : 1;
  }
  return width;
}

provisioning::TextReading PrintedText(const CodePageReader& readCodePage, provisioning::PlanDialect dialect) {
  if (dialect == provisioning::PlanDialect::kJsonLines) {
    return [readCodePage](const std::string& fieldText) { return CameraText(fieldText, readCodePage); };
  }
  return [readCodePage](const std::string& fieldText) {
    return Utf8ControlsReplaced(CameraText(fieldText, readCodePage), true);
  };
}

}  // namespace lumora::cli
