// Library files attached to a box (or to the page) are written after it: GIF and JPEG files as
// IMG tags with their pixel size read from the file, HTML files copied in with the variables
// replaced.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "platform/cp1252.h"
#include "xt/export/archive_layout.h"
#include "xt/export/export_settings.h"
#include "xt/export/export_variables.h"
#include "xt/export/page_writer.h"

namespace xt {
namespace {

struct PixelSize {
  int width = 0;
  int height = 0;
};

// Largest HTML attachment that is copied into a page (bytes, exclusive).
constexpr std::uintmax_t kMaxAttachmentSize = 2147482647;
constexpr int kGifSizeOffset = 6;
constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
// Start-of-frame markers of baseline, extended and progressive JPEG files.
constexpr std::uint8_t kFirstFrameMarker = 0xC0;
constexpr std::uint8_t kLastFrameMarker = 0xC2;
constexpr std::uint8_t kFirstStandaloneMarker = 0xD0;  // RSTn, SOI, EOI: no length follows
constexpr std::uint8_t kLastStandaloneMarker = 0xD9;

std::string Upper(std::string text) {
  for (auto& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::optional<PixelSize> GifSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::uint8_t header[kGifSizeOffset + 4];
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
  return PixelSize{header[6] | (header[7] << 8), header[8] | (header[9] << 8)};
}

// Walks the marker segments to the first start-of-frame segment.
std::optional<PixelSize> JpegSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const auto next = [&in]() -> std::optional<std::uint8_t> {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) return std::nullopt;
    return static_cast<std::uint8_t>(c);
  };
  auto first = next();
  auto second = next();
  if (!first || !second || *first != kMarkerStart || *second != kStartOfImage) return std::nullopt;
  while (true) {
    auto byte = next();
    if (!byte) return std::nullopt;
    if (*byte != kMarkerStart) continue;
    auto marker = next();
    while (marker && *marker == kMarkerStart)
      marker = next();
    if (!marker) return std::nullopt;
    if (*marker >= kFirstStandaloneMarker && *marker <= kLastStandaloneMarker) continue;
    const auto high = next();
    const auto low = next();
    if (!high || !low) return std::nullopt;
    const int length = (*high << 8) | *low;
    if (*marker >= kFirstFrameMarker && *marker <= kLastFrameMarker) {
      std::uint8_t frame[5];
      if (!in.read(reinterpret_cast<char*>(frame), sizeof frame)) return std::nullopt;
      return PixelSize{(frame[3] << 8) | frame[4], (frame[1] << 8) | frame[2]};
    }
    if (length < 2) return std::nullopt;
    in.seekg(length - 2, std::ios::cur);
    if (!in) return std::nullopt;
  }
}

std::string AlignmentText(int alignment) {
  switch (alignment) {
    case 1:
      return "\" ALIGN=\"CENTER\"";
    case 2:
      return "\" ALIGN=\"RIGHT\"";
    default:
      return "\" ALIGN=\"LEFT\"";
  }
}

void WriteImage(ExportSettings& settings, const LibraryAttachment& entry, PixelSize size) {
  constexpr int kCentre = 1;
  WriteSeparator(settings);
  if (entry.alignment == kCentre) WriteText(settings, "<CENTER>");
  WriteText(settings, "<IMG SRC=\"" + RelativeLink(entry.path, settings.page_path) +
                          "\" HSPACE=" + std::to_string(settings.ImageHSpace) +
                          " VSPACE=" + std::to_string(settings.ImageVSpace) + " ALT=\"" +
                          AlignmentText(entry.alignment) +
                          " HEIGHT=" + std::to_string(size.height) +
                          " WIDTH=" + std::to_string(size.width) + ">\r\n");
  if (entry.alignment == kCentre) WriteText(settings, "</CENTER>");
}

void WriteHtml(ExportSettings& settings, const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size >= kMaxAttachmentSize) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ReplaceVariables(settings, text);
  WriteText(settings, text);
}

}  // namespace

void WriteAttachments(ExportSettings& settings, XtBox box) {
  for (const LibraryAttachment& entry : settings.library_attachments) {
    if (!entry.used || entry.box != box) continue;
    const std::string upper = Upper(entry.path);
    std::optional<PixelSize> size;
    if (upper.find(".GIF") != std::string::npos) {
      size = GifSize(platform::DiskPath(entry.path));
    } else if (upper.find(".JPEG") != std::string::npos ||
               upper.find(".JPG") != std::string::npos) {
      size = JpegSize(platform::DiskPath(entry.path));
    }
    if (size) {
      WriteImage(settings, entry, *size);
    } else if (upper.find(".HTM") != std::string::npos) {
      WriteHtml(settings, platform::DiskPath(entry.path));
    }
  }
}

}  // namespace xt
