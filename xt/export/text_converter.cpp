// The converter keeps one state for the story being exported: the styles, heading and FONT tag
// it has opened, where it is in a table row, and whether the next run starts a paragraph.
// Plain text is gathered in a buffer and written in chunks, tags as they come. The page's chunk
// writer breaks long lines at a chunk's first blank, so a link's opening tag goes out as one
// chunk: a blank inside its target is never where the line breaks.
#include "xt/export/text_converter.h"

#include <string>
#include <string_view>

#include "hostapi/host_tables.h"
#include "xt/export/archive_layout.h"
#include "xt/export/color_text.h"
#include "xt/export/drop_cap.h"
#include "xt/export/export_settings.h"
#include "xt/export/page_chunk_writer.h"
#include "xt/export/run_style.h"

namespace xt {
namespace {

// Pending plain text is handed to the host once more than this many bytes are gathered.
constexpr std::size_t kBufferLimit = 1023;
constexpr int kMaxFontName = 256;
constexpr int kMaxTabStops = 64;

constexpr std::string_view kStandaloneStart =
    "<HTML>\r\n<HEAD>\r\n<TITLE>Marlix HTML</TITLE>\r\n</HEAD>\r\n<HR>\r\n<BODY>";
constexpr std::string_view kStandaloneEnd = "<HR>\r\n</BODY>\r\n</HTML>";
constexpr std::string_view kHomeVariable = "$HOME:";

// Run-state bits.
constexpr unsigned kInHeading = 1u << 0;
constexpr unsigned kStrongOpen = 1u << 1;
constexpr unsigned kItalicOpen = 1u << 2;
constexpr unsigned kUnderlineOpen = 1u << 3;
constexpr unsigned kCellOpen = 1u << 5;
constexpr unsigned kStoryStart = 1u << 6;  // in tables also: a row is to be started

// The colour index the story is taken to start with, and a font id no font has.
constexpr std::int16_t kInitialColor = 1;
constexpr std::int16_t kNoFont = -1;

// Link types of a link mark's data run.
constexpr std::uint8_t kLinkFile = 1;
constexpr std::uint8_t kLinkUrl = 2;
constexpr std::uint8_t kLinkAnchor = 3;
constexpr std::uint8_t kLinkToAnchor = 4;

bool IsBreak(std::uint8_t byte) {
  return byte == 7 || byte == 11 || byte == 12 || byte == 13;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string FontName(std::int16_t font_id) {
  if (Host().text.font_name == nullptr) return {};
  char name[kMaxFontName] = {};
  const std::int32_t length = Host().text.font_name(font_id, name, kMaxFontName);
  if (length <= 0) return {};
  return std::string(name,
                     static_cast<std::size_t>(length < kMaxFontName ? length : kMaxFontName - 1));
}

std::uint32_t StyleFlagsOf(const XtTextRun& run) {
  // The font's name is asked for only when the style word leaves the looks open.
  return RunStyleFlags(run.style, run.style != 0 ? std::string() : FontName(run.font_id));
}

class TextConverter {
 public:
  bool begun() const { return settings_ != nullptr; }
  void Begin(ExportSettings& settings);
  void Run(const XtTextRun& run);
  void End();
  void Abandon();

 private:
  void NormalRun(const XtTextRun& run);
  void TypewriterRun(const XtTextRun& run);
  void ListRun(const XtTextRun& run);
  void LinkMark(const XtTextRun& run);

  void CloseHeading();
  void WriteFontTag(const XtTextRun& run);
  void CloseStyles();
  void OpenStyles(std::uint32_t flags);
  void OpenCell(const XtTextRun& run, std::int32_t position);
  void CloseCell();
  std::string ListTag(bool closing) const;

  void Write(std::string_view text);
  void Append(const std::uint8_t* bytes, std::int32_t count);
  void AppendLines(const std::uint8_t* bytes, std::int32_t count, std::string_view line_end);
  void Flush();
  void RestoreWriter();

  ExportSettings* settings_ = nullptr;
  BoxFormat format_;
  bool inside_page_ = false;
  std::uint32_t style_state_ = 0;
  XtFixed current_size_ = 0;
  std::int16_t font_id_ = kNoFont;
  std::int16_t color_ = kInitialColor;
  bool link_open_ = false;  // a link's start tag was written and its end is still due
  bool font_open_ = false;
  unsigned run_state_ = 0;
  bool paragraph_start_ = true;
  std::uint32_t previous_mark_ = 0;
  bool writer_replaced_ = false;
  XtWriterProc saved_writer_ = nullptr;
  void* saved_context_ = nullptr;
  std::string buffer_;
};

void TextConverter::Begin(ExportSettings& settings) {
  // A story the host never ended must not leave our writer installed.
  Abandon();
  settings_ = &settings;
  inside_page_ = settings.inside_page_export;
  // Outside a page export the last exported box's format would be stale: the user's own text
  // export is plain text with the default flags.
  if (inside_page_) {
    format_ = settings.box_format;
  } else {
    format_.flags = settings.default_flags;
  }
  run_state_ = kStoryStart;
  if (inside_page_ && Host().text.replace_writer != nullptr) {
    Host().text.replace_writer(&WritePageChunk, &settings, &saved_writer_, &saved_context_);
    writer_replaced_ = true;
  } else if (!inside_page_) {
    Write(kStandaloneStart);
  }
  if (format_.kind == kFormatMultiColumn) {
    Write("\r\n<MULTICOL COLS=" + std::to_string(format_.table.columns) +
          " GUTTER=" + std::to_string(format_.table.spacing) +
          " WIDTH=" + std::to_string(format_.table.border) + ">\r\n");
  }
}

void TextConverter::Run(const XtTextRun& run) {
  if (run.mark != 0) {
    // Typewriter text carries no links.
    if (format_.kind != kFormatTypewriter) LinkMark(run);
  } else if (format_.kind == kFormatTypewriter) {
    TypewriterRun(run);
  } else if (format_.kind == kFormatUnorderedList || format_.kind == kFormatOrderedList ||
             format_.kind == kFormatDirectoryList) {
    ListRun(run);
  } else {
    NormalRun(run);
  }
  previous_mark_ = run.mark;
}

void TextConverter::End() {
  CloseStyles();
  CloseHeading();
  if (!inside_page_) Write(kStandaloneEnd);
  switch (format_.kind) {
    case kFormatTable:
      if (run_state_ & kCellOpen) {
        CloseCell();
        Write("</TR>\r\n");
      }
      break;
    case kFormatTypewriter:
      Write("\r\n</KBD>\r\n");
      break;
    case kFormatUnorderedList:
    case kFormatOrderedList:
    case kFormatDirectoryList:
      Write(ListTag(true));
      break;
    case kFormatMultiColumn:
      Write("\r\n</MULTICOL>\r\n");
      break;
    default:
      break;
  }
  RestoreWriter();
  settings_ = nullptr;
}

void TextConverter::Abandon() {
  RestoreWriter();
  *this = TextConverter();
}

void TextConverter::RestoreWriter() {
  if (!writer_replaced_) return;
  XtWriterProc ours = nullptr;
  void* our_context = nullptr;
  Host().text.replace_writer(saved_writer_, saved_context_, &ours, &our_context);
  writer_replaced_ = false;
}

void TextConverter::LinkMark(const XtTextRun& run) {
  if (run.mark == XT_MARK_LINK_END) {
    // Only a link whose start was written gets an end: an unknown type writes no start.
    if (link_open_) Write("</A>");
    link_open_ = false;
    return;
  }
  if (run.mark != XT_MARK_LINK_DATA || previous_mark_ != XT_MARK_LINK_START || run.count <= 0) {
    return;
  }
  const std::uint8_t type = run.bytes[0];
  std::string tag;
  switch (type) {
    case kLinkFile:
    case kLinkUrl:
      tag = "<A HREF=\"";
      break;
    case kLinkAnchor:
      tag = "<A NAME=\"";
      break;
    case kLinkToAnchor:
      tag = "<A HREF=\"#";
      break;
    default:
      // Without an opening the target would land in the visible text.
      return;
  }
  std::string target(reinterpret_cast<const char*>(run.bytes) + 1,
                     static_cast<std::size_t>(run.count - 1));
  if (type == kLinkFile && !settings_->page_path.empty()) {
    target = RelativeLink(target, settings_->page_path);
  }
  // A quote in the target would end the attribute early.
  tag += ReplaceAll(std::move(target), "\"", "&quot;");
  tag += "\">";
  // One chunk, so that a line break never falls inside the target.
  Write(tag);
  link_open_ = true;
}

void TextConverter::NormalRun(const XtTextRun& run) {
  const std::uint32_t flags = StyleFlagsOf(run);

  if (run.size != current_size_ && (paragraph_start_ || run.size < current_size_)) {
    CloseHeading();
    current_size_ = run.size;
    const int level = HeadingLevel(settings_->HeadingSize, current_size_);
    if (level != 0) {
      CloseStyles();
      style_state_ = 0;
      Write("<H" + std::to_string(level) + ">");
      run_state_ |= kInHeading;
    } else {
      run_state_ &= ~kInHeading;
    }
  }

  const bool send_face = (format_.flags & kFlagSendFace) != 0;
  const bool send_color = (format_.flags & kFlagSendColor) != 0;
  if ((send_face && run.font_id != font_id_) || (send_color && run.color_index != color_)) {
    WriteFontTag(run);
    style_state_ = flags;
  }

  if (!(run_state_ & kInHeading) && style_state_ != flags) CloseStyles();

  std::int32_t position = 0;
  if (format_.kind == kFormatTable && (run_state_ & kStoryStart)) {
    run_state_ &= ~kCellOpen;
    Write("<TR>\r\n");
    OpenCell(run, 0);
    run_state_ &= ~kStoryStart;
  }

  if (paragraph_start_ && run.left_indent != 0) {
    Write(ReplaceAll(settings_->ReadString("LeftIndent"), kHomeVariable,
                     RelativeRootPrefix(*settings_)));
  }
  if (paragraph_start_ && run.drop_cap != 0 && run.count > 0) {
    const std::string image =
        DropCapImage(settings_->DestFolder, run.bytes[0], RelativeRootPrefix(*settings_));
    if (image == kMissedDropCap) {
      settings_->job_warnings +=
          "Drop-cap picture missing: " + DropCapPath(settings_->DestFolder, run.bytes[0]) + "\n";
    }
    Write(image);
    position = 1;
  }

  if (!(run_state_ & kInHeading) && style_state_ != flags) OpenStyles(flags);

  paragraph_start_ = run.count > 0 && run.bytes[run.count - 1] == 13;

  if (format_.kind != kFormatTable) {
    Append(run.bytes + position, run.count - position);
    Flush();
    return;
  }
  for (; position < run.count; ++position) {
    const std::uint8_t byte = run.bytes[position];
    if (run_state_ & kStoryStart) {
      Flush();
      Write("<TR>\r\n");
      OpenCell(run, position);
      run_state_ &= ~kStoryStart;
    }
    if (IsBreak(byte)) {
      Flush();
      CloseCell();
      Write("</TR>\r\n");
      run_state_ |= kStoryStart;
    } else if (byte == '\t') {
      Flush();
      if (run_state_ & kCellOpen) CloseCell();
      OpenCell(run, position);
    } else {
      Append(&byte, 1);
    }
  }
  Flush();
}

void TextConverter::TypewriterRun(const XtTextRun& run) {
  if (run_state_ & kStoryStart) {
    Write("<KBD>\r\n");
    run_state_ &= ~kStoryStart;
  }
  if (run.count <= 0) {
    Write("</KBD>\r\n");
    return;
  }
  AppendLines(run.bytes, run.count, "\r\n");
}

void TextConverter::ListRun(const XtTextRun& run) {
  if (run_state_ & kStoryStart) {
    Write(ListTag(false));
    run_state_ &= ~kStoryStart;
  }
  if (run.count <= 0) {
    Write(ListTag(true));
    return;
  }
  style_state_ = StyleFlagsOf(run);
  paragraph_start_ = run.bytes[run.count - 1] == 13;
  AppendLines(run.bytes, run.count, "\r\n<LI>");
}

std::string TextConverter::ListTag(bool closing) const {
  const char* name = format_.kind == kFormatUnorderedList ? "UL"
                     : format_.kind == kFormatOrderedList ? "OL"
                                                          : "DIR";
  return std::string(closing ? "\r\n</" : "\r\n<") + name + ">\r\n";
}

void TextConverter::CloseHeading() {
  if (current_size_ == 0) return;
  const int level = HeadingLevel(settings_->HeadingSize, current_size_);
  if (level != 0) Write("</H" + std::to_string(level) + ">");
  run_state_ &= ~kInHeading;
}

void TextConverter::WriteFontTag(const XtTextRun& run) {
  if (font_open_) Write("</FONT>");
  Write("<FONT");
  if (format_.flags & kFlagSendFace) Write(" FACE=\"" + FontName(run.font_id) + "\"");
  XtRgb rgb{};
  if ((format_.flags & kFlagSendColor) && Host().text.color_rgb != nullptr &&
      Host().text.color_rgb(run.color_index, &rgb) == 0) {
    Write(" COLOR=\"");
    Write(ColorText(rgb));
    Write("\"");
  }
  Write(">");
  font_open_ = true;
  font_id_ = run.font_id;
  color_ = run.color_index;
}

void TextConverter::CloseStyles() {
  if (run_state_ & kStrongOpen) Write("</STRONG>");
  if (run_state_ & kItalicOpen) Write("</I>");
  if (run_state_ & kUnderlineOpen) Write("</U>");
  run_state_ &= ~(kStrongOpen | kItalicOpen | kUnderlineOpen);
  if (font_open_) {
    Write("\r\n</FONT>\r\n");
    font_open_ = false;
  }
}

void TextConverter::OpenStyles(std::uint32_t flags) {
  if ((flags & XT_STYLE_BOLD) && !(run_state_ & kStrongOpen)) {
    Write("<STRONG>");
    run_state_ |= kStrongOpen;
  }
  if ((flags & XT_STYLE_ITALIC) && !(run_state_ & kItalicOpen)) {
    Write("<I>");
    run_state_ |= kItalicOpen;
  }
  if ((flags & (XT_STYLE_UNDERLINE | XT_STYLE_WORD_UNDERLINE)) && !(run_state_ & kUnderlineOpen)) {
    Write("<U>");
    run_state_ |= kUnderlineOpen;
  }
  style_state_ = flags;
}

void TextConverter::OpenCell(const XtTextRun& run, std::int32_t position) {
  std::string_view tag = "<TD";
  if (position < run.count && run.bytes[position] == '\t' && Host().text.tab_stops != nullptr) {
    XtTabStop stops[kMaxTabStops] = {};
    const std::int32_t count = Host().text.tab_stops(stops, kMaxTabStops);
    if (count > 0 && run.tab_index >= 0 && run.tab_index < count && run.tab_index < kMaxTabStops) {
      switch (stops[run.tab_index].alignment) {
        case XT_TAB_LEFT:
        case XT_TAB_DECIMAL:
          tag = "<TD ALIGN=\"LEFT\"";
          break;
        case XT_TAB_CENTER:
          tag = "<TD ALIGN=\"CENTER\"";
          break;
        case XT_TAB_RIGHT:
          tag = "<TD ALIGN=\"RIGHT\"";
          break;
        default:
          break;
      }
    }
  }
  Write(tag);
  Write(">");
  run_state_ |= kCellOpen;
}

void TextConverter::CloseCell() {
  CloseStyles();
  Write("</TD>\r\n");
  run_state_ &= ~kCellOpen;
}

void TextConverter::Write(std::string_view text) {
  if (text.empty() || Host().text.write == nullptr) return;
  Host().text.write(text.data(), static_cast<std::int32_t>(text.size()));
}

void TextConverter::Append(const std::uint8_t* bytes, std::int32_t count) {
  const CharacterTable& table = settings_->character_table;
  std::int32_t at = 0;
  while (at < count) {
    // A stretch of bytes that stand for themselves goes in at once, up to a full buffer, so the
    // chunks come out as if appended byte by byte.
    const std::size_t room = kBufferLimit + 1 - buffer_.size();
    std::int32_t end = at;
    while (end < count && static_cast<std::size_t>(end - at) < room &&
           table.IsVerbatim(bytes[end])) {
      ++end;
    }
    if (end > at) {
      buffer_.append(reinterpret_cast<const char*>(bytes + at), static_cast<std::size_t>(end - at));
      at = end;
    } else {
      buffer_ += table[bytes[at++]];
    }
    if (buffer_.size() > kBufferLimit) Flush();
  }
}

// Plain text whose break characters each end a line (typewriter) or start an item (lists).
void TextConverter::AppendLines(const std::uint8_t* bytes, std::int32_t count,
                                std::string_view line_end) {
  std::int32_t start = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    if (!IsBreak(bytes[i])) continue;
    Append(bytes + start, i - start);
    Flush();
    Write(line_end);
    start = i + 1;
  }
  Append(bytes + start, count - start);
  Flush();
}

void TextConverter::Flush() {
  Write(buffer_);
  buffer_.clear();
}

TextConverter& Converter() {
  static TextConverter converter;
  return converter;
}

}  // namespace

int FilterBegin(const XtFilterBeginParams& params) {
  ExportSettings* settings = ActiveSettings();
  if (params.file_type != XT_FILE_TYPE_HTML || settings == nullptr) return -1;
  Converter().Begin(*settings);
  return 0;
}

int FilterRun(const XtTextRun& run) {
  if (run.file_type != XT_FILE_TYPE_HTML || !Converter().begun()) return -1;
  Converter().Run(run);
  return 0;
}

int FilterEnd(const XtFilterEndParams& params) {
  if (params.file_type != XT_FILE_TYPE_HTML || !Converter().begun()) return -1;
  Converter().End();
  return 0;
}

void AbandonTextExport() {
  Converter().Abandon();
}

}  // namespace xt
