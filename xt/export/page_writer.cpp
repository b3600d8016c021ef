#include "xt/export/page_writer.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

#include "hostapi/host_tables.h"
#include "platform/cp1252.h"
#include "xt/export/box_record.h"
#include "xt/export/color_text.h"
#include "xt/export/export_messages.h"
#include "xt/export/export_settings.h"
#include "xt/export/export_variables.h"
#include "xt/export/picture_step.h"

namespace xt {
namespace {

constexpr std::string_view kDocType = "<!DOCTYPE HTML PUBLIC \"-//W3=//DTD W3 HTML 3.2//EN\">\r\n";
constexpr std::string_view kHeadStart = "<HTML>\r\n<HEAD>\r\n<!-- #START META SEARCH -->\r\n";
constexpr std::string_view kGenerator =
    "<META name=\"GENERATOR\" content=\"MarlixXT 2.5.5 for QuarkXPress 4.0 Win95/NT\">\r\n";
constexpr std::string_view kHeadEnd = "<!-- #STOP META SEARCH -->\r\n</HEAD>\r\n";
constexpr std::string_view kDocumentEnd = "</BODY></HTML>";
constexpr std::string_view kVersion = "1.0";
constexpr std::string_view kStandardFolder = "Standard";
constexpr std::string_view kHeadersFolder = "Headers";
constexpr std::string_view kFootersFolder = "Footers";
constexpr std::string_view kFilterName = "MarlixXT40";
constexpr std::string_view kMetaPrompt = "Please enter the META tag content for\n\"%s\"";
// Largest snippet file that is read (bytes).
constexpr std::uintmax_t kMaxSnippetSize = 0x7FFFFC17;
constexpr int kTableCentre = 1;

// A double quote would end the attribute early, and the indexer would read a cut value.
std::string AttributeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

void WriteMetaTag(ExportSettings& settings, std::string_view name, std::string_view value) {
  WriteText(settings, "<META name=\"" + AttributeText(name) + "\" content=\"" +
                          AttributeText(value) + "\">\r\n");
}

std::string DateText(std::time_t moment) {
  std::tm date{};
  localtime_r(&moment, &date);
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.tm_mday, date.tm_mon + 1,
                date.tm_year + 1900);
  return text;
}

std::string Format(std::string_view pattern, std::string_view value) {
  std::string out(pattern);
  const auto at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, value);
  return out;
}

std::string SnippetPath(const ExportSettings& settings, std::string_view name, bool footer) {
  std::string path = settings.DestFolder;
  path += '/';
  path += kStandardFolder;
  path += '/';
  path += footer ? kFootersFolder : kHeadersFolder;
  path += '/';
  path += name;
  return path;
}

void WriteInlineSnippet(ExportSettings& settings, std::string_view key) {
  std::string text = ExpandLineBreaks(settings.ReadString(key));
  ReplaceVariables(settings, text);
  WriteText(settings, text);
}

// The id of the host's text-export filter of this plug-in, or -1.
int FindFilter() {
  const XtTextTable& text = Host().text;
  if (!text.filter_count || !text.filter_info) return -1;
  const int count = text.filter_count();
  for (int i = 0; i < count; ++i) {
    XtFilterInfo info{};
    if (text.filter_info(i, &info) != 0) continue;
    info.name[sizeof info.name - 1] = '\0';
    if (info.file_type == XT_FILE_TYPE_HTML && kFilterName == info.name) return info.id;
  }
  return -1;
}

BoxFormat FormatOf(const BoxRecord& record) {
  BoxFormat format;
  format.kind = record.export_kind();
  format.flags = record.flags();
  format.table.border = record.border();
  format.table.padding = record.cell_padding();
  format.table.spacing = record.cell_spacing();
  format.table.columns = record.columns();
  format.table.alignment = record.table_alignment();
  format.table.width_mode = record.width_mode();
  format.table.width = record.width_value();
  return format;
}

}  // namespace

void WriteRaw(ExportSettings& settings, std::string_view text) {
  if (!settings.output || text.empty()) return;
  if (std::fwrite(text.data(), 1, text.size(), settings.output.get()) != text.size() &&
      settings.write_error == 0) {
    settings.write_error = errno != 0 ? errno : EIO;
  }
}

void WriteText(ExportSettings& settings, std::string_view text) {
  WriteRaw(settings, text);
  const auto feed = text.rfind('\n');
  if (feed != std::string_view::npos) {
    settings.column = static_cast<std::int32_t>(text.size() - feed - 1);
  } else {
    settings.column += static_cast<std::int32_t>(text.size());
  }
  if (settings.column > kPageLineLength) {
    WriteRaw(settings, "\r\n");
    settings.column = 0;
  }
}

void WriteHead(ExportSettings& settings) {
  WriteText(settings, kDocType);
  WriteText(settings, kHeadStart);
  WriteText(settings, kGenerator);
  const std::string date = DateText(settings.page_created);
  WriteMetaTag(settings, "YEAR", settings.Path);
  WriteMetaTag(settings, "ISSUE", settings.Issue);
  WriteMetaTag(settings, "CATEGORY", settings.Category);
  WriteMetaTag(settings, "DESCRIPTION", settings.Headline);
  WriteMetaTag(settings, "SUBDESCRIPTION", settings.SubHeadline);
  WriteMetaTag(settings, "HEADER", settings.HeaderFile);
  WriteMetaTag(settings, "FOOTER", settings.FooterFile);
  WriteMetaTag(settings, "DATE", date);
  WriteMetaTag(settings, "REVISED", date);
  WriteMetaTag(settings, "VERSION", kVersion);
  if (settings.FileName != kPreviewName && settings.UseMetaTags) {
    for (const auto& [name, tag] : settings.meta_tags) {
      if (tag.unique && tag.content.empty()) {
        WriteMetaTag(settings, name, AskText(Format(kMetaPrompt, name)));
      } else {
        WriteMetaTag(settings, name, tag.content);
      }
    }
  }
  WriteText(settings, kHeadEnd);
}

void WriteHeader(ExportSettings& settings) {
  if (settings.ExternalHeadFootFile &&
      ReadExternalSnippet(settings, settings.HeaderFile, false) == 0) {
    return;
  }
  WriteInlineSnippet(settings, "Header");
}

void WriteSeparator(ExportSettings& settings) {
  if (settings.previous_element == ElementKind::kNone) return;
  const char* key = settings.previous_element == ElementKind::kText ? "TextBreak" : "PictBreak";
  WriteText(settings, settings.ReadString(key) + "\r\n");
}

void ExportTextBox(ExportSettings& settings, XtBox box, bool as_caption) {
  settings.box_format = BoxFormat{kFormatNormal, settings.default_flags, {}};
  WriteSeparator(settings);
  if (const auto record = BoxRecord::Read(box, XT_RECORD_EXPORT)) {
    settings.box_format = FormatOf(*record);
    if ((record->flags() & kFlagCaption) && !as_caption) return;
    if (record->export_kind() == kFormatPicture) {
      ExportPictureBox(settings, box, true);
      return;
    }
  }

  XtTextTable& text = Host().text;
  XtTextRange range{};
  const bool has_text = text.box_text && text.box_text(box, &range) == 0 &&
                        (settings.IgnoreChain ? range.end > range.start : range.length > 0);
  const bool chained = text.continues_chain && text.continues_chain(box) != 0;
  if (has_text && (settings.IgnoreChain || !chained)) {
    const BoxFormat format = settings.box_format;
    if (format.kind == kFormatTable) {
      XtBoxInfo info{};
      if (!Host().items.box_info || Host().items.box_info(box, &info) != 0) info.background = 0;
      WriteTableStart(settings, info.background);
    }
    std::int32_t old_start = 0;
    std::int32_t old_end = 0;
    if (settings.IgnoreChain && text.get_selection && text.set_selection) {
      text.get_selection(&old_start, &old_end);
      text.set_selection(range.start, range.end);
    }
    if (const int filter = FindFilter(); filter >= 0 && text.run_text_export) {
      settings.inside_page_export = true;
      text.run_text_export(filter, settings.IgnoreChain ? 1 : 0);
      settings.inside_page_export = false;
    }
    if (format.kind == kFormatTable) {
      WriteText(settings, "\r\n</TABLE>\r\n");
      if (format.table.alignment == kTableCentre) WriteText(settings, "</CENTER>\r\n");
    }
    if (settings.IgnoreChain && text.get_selection && text.set_selection) {
      text.set_selection(old_start, old_end);
    }
  }
  WriteAttachments(settings, box);
}

void WriteTableStart(ExportSettings& settings, std::int16_t background) {
  const TableProperties& table = settings.box_format.table;
  if (table.alignment == kTableCentre) WriteText(settings, "\r\n<CENTER>\r\n");
  std::string tag = "\r\n<TABLE";
  if (table.border != 0) tag += " BORDER=" + std::to_string(table.border);
  if (table.padding != 0) tag += " CELLPADDING=" + std::to_string(table.padding);
  if (table.spacing != 0) tag += " CELLSPACING=" + std::to_string(table.spacing);
  if (table.width_mode != 0) {
    tag += " WIDTH=" + std::to_string(table.width);
    if (table.width_mode == 2) tag += "%";
  }
  switch (table.alignment) {
    case 1:
      tag += " ";
      break;
    case 2:
      tag += " ALIGN=\"RIGHT\"";
      break;
    case 3:
      tag += " ALIGN=\"TOP\"";
      break;
    case 4:
      tag += " ALIGN=\"MIDDLE\"";
      break;
    case 5:
      tag += " ALIGN=\"BOTTOM\"";
      break;
    default:
      tag += " ALIGN=\"LEFT\"";
      break;
  }
  XtRgb rgb{};
  if (background != 0 && Host().text.color_rgb && Host().text.color_rgb(background, &rgb) == 0) {
    tag += " BGCOLOR=\"" + ColorText(rgb) + "\"";
  }
  tag += ">\r\n";
  WriteText(settings, tag);
}

int FinishPage(ExportSettings& settings) {
  if (settings.output) settings.footer_position = std::ftell(settings.output.get());
  settings.page_finished = true;
  int result = 0;
  if (settings.ExternalHeadFootFile) {
    result = ReadExternalSnippet(settings, settings.FooterFile, true);
  }
  if (!settings.ExternalHeadFootFile || result != 0) WriteInlineSnippet(settings, "Footer");
  WriteRaw(settings, kDocumentEnd);
  settings.column += static_cast<std::int32_t>(kDocumentEnd.size());

  if (settings.output) {
    if (std::fflush(settings.output.get()) != 0 && settings.write_error == 0) {
      settings.write_error = errno != 0 ? errno : EIO;
    }
    if (std::fclose(settings.output.release()) != 0 && settings.write_error == 0) {
      settings.write_error = errno != 0 ? errno : EIO;
    }
  }
  platform::Status failure;
  if (settings.write_error != 0) {
    failure = platform::Status::FromErrno(platform::kFileWriteFailed, settings.page_path,
                                          settings.write_error);
  } else if (settings.page_file) {
    failure = settings.page_file->Commit();
  }
  settings.page_file.reset();  // a page not committed leaves the old one as it was
  if (!failure.ok()) {
    ShowFileError(failure);
    return -1;
  }
  return result;
}

int ReadExternalSnippet(ExportSettings& settings, std::string_view name, bool footer) {
  const std::string path = platform::DiskPath(SnippetPath(settings, name, footer));
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return 1;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return 1;
  if (size > kMaxSnippetSize) {
    char text[96];
    std::snprintf(
        text, sizeof text,
        footer ? "External Footer-file too big %ld\r\n" : "External Header-file too big %ld\r\n",
        static_cast<long>(size));
    ShowMessage(text);
    return 1;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return 1;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return 1;
  ReplaceVariables(settings, text);
  WriteRaw(settings, text);
  return 0;
}

}  // namespace xt
