#include "xt/export/picture_step.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "hostapi/host_tables.h"
#include "xt/export/archive_layout.h"
#include "xt/export/box_record.h"
#include "xt/export/export_settings.h"
#include "xt/export/export_variables.h"
#include "xt/export/page_writer.h"
#include "xt/export/picture_capture.h"

namespace xt {
namespace {

constexpr int kAlignLeft = 0;
constexpr int kAlignCenter = 1;
constexpr int kImportedNameCapacity = 256;

enum LinkType : int { kLinkTarget = 1, kLinkAnchorName = 2, kLinkAnchor = 3, kLinkFile = 4 };

// The word of an alignment in the caption table and snippets.
std::string_view AlignmentWord(int alignment) {
  switch (alignment) {
    case 0:
      return "LEFT";
    case 2:
      return "RIGHT";
    case 3:
      return "TOP";
    case 4:
      return "MIDDLE";
    case 5:
      return "BOTTOM";
    default:
      return "";
  }
}

// The end of the IMG tag's ALT value and its ALIGN attribute.
std::string_view AlignAttribute(int alignment) {
  switch (alignment) {
    case 0:
      return "\" ALIGN=\"LEFT\"";
    case 2:
      return "\" ALIGN=\"RIGHT\"";
    case 3:
      return "\" ALIGN=\"TOP\"";
    case 4:
      return "\" ALIGN=\"MIDDLE\"";
    case 5:
      return "\" ALIGN=\"BOTTOM\"";
    default:
      return "\"";
  }
}

// A file name for a picture that has no imported file: the clock plus a random number.
std::string NumberName(const ExportSettings& settings) {
  char text[32];
  std::snprintf(
      text, sizeof text, "%06lu",
      static_cast<unsigned long>(settings.now()) + static_cast<unsigned long>(std::rand()));
  return text;
}

std::string ImportedName(XtBox box) {
  if (!Host().picture.imported_file_name) return {};
  char name[kImportedNameCapacity] = {};
  const std::int32_t length = Host().picture.imported_file_name(box, name, sizeof name);
  return std::string(name,
                     static_cast<std::size_t>(std::clamp(length, 0, kImportedNameCapacity - 1)));
}

std::string LinkOpening(const ExportSettings& settings, const BoxRecord& record) {
  switch (record.link_type()) {
    case kLinkAnchorName:
      return "<A NAME=\"" + record.link_target() + "\">";
    case kLinkAnchor:
      return "<A HREF=\"#" + record.link_target() + "\">";
    case kLinkTarget:
      return "<A HREF=\"" + record.link_target() + "\">";
    case kLinkFile:
      return "<A HREF=\"" + RelativeLink(record.link_target(), settings.page_path) + "\">";
    default:
      return {};
  }
}

// The picture's properties, from its record or the defaults.
struct PictureProperties {
  std::uint32_t flags = 0;
  int alignment = kAlignLeft;
  std::string alt_text;
  int hspace = 0;
  int vspace = 0;
  int border = 0;
  std::uint32_t caption_id = 0;
  std::string link;  // the link's opening tag, or empty
  std::string proposed_name;
};

void TakeRecord(const BoxRecord& record, PictureProperties& p) {
  p.flags = record.flags();
  p.alignment = record.alignment();
  p.alt_text = record.alt_text();
  p.hspace = record.hspace();
  p.vspace = record.vspace();
  p.border = record.border();
  p.caption_id = record.caption_id();
}

std::string CaptionSnippet(ExportSettings& settings, std::string_view key, int alignment,
                           const int* width) {
  std::string snippet = settings.ReadString(key);
  ReplaceVariables(settings, snippet);
  ReplaceAll(snippet, "$ALIGN:", AlignmentWord(alignment));
  if (width != nullptr) ReplaceAll(snippet, "$WIDTH:", std::to_string(*width));
  return ExpandLineBreaks(snippet);
}

// Set while a caption is written, so that a caption box exported as a picture does not look
// for a caption of its own (two such boxes would otherwise export each other forever).
bool writing_caption = false;

// The first text box of the page, in the host's order, whose export record carries `id`.
XtBox FindCaptionBox(XtBox picture, std::uint32_t id) {
  const XtItemTable& items = Host().items;
  XtBoxInfo info{};
  if (!items.box_info || items.box_info(picture, &info) != 0 || !items.first_box_of_page) return 0;
  for (XtBox box = items.first_box_of_page(info.page); box != 0; box = items.next_box(box)) {
    if (box == picture || !items.is_text_box(box)) continue;
    const auto record = BoxRecord::Read(box, XT_RECORD_EXPORT);
    if (record && record->caption_id() == id) return box;
  }
  return 0;
}

void WriteCaption(ExportSettings& settings, XtBox picture, std::uint32_t id) {
  if (writing_caption) return;
  const XtBox caption = FindCaptionBox(picture, id);
  if (caption == 0) return;
  XtItemTable& items = Host().items;
  const std::int32_t redraw = items.save_redraw();
  const XtBox current = items.current_box();
  items.set_current_box(caption);
  writing_caption = true;
  ExportTextBox(settings, caption, true);
  writing_caption = false;
  items.set_current_box(current);
  items.restore_redraw(redraw);
}

}  // namespace

bool ExportPictureBox(ExportSettings& settings, XtBox box, bool as_text_box) {
  PictureProperties p;
  p.flags = settings.default_flags;
  WriteText(settings, "\r\n");
  if (as_text_box) {
    const auto record = BoxRecord::Read(box, XT_RECORD_EXPORT);
    if (!record) return false;
    TakeRecord(*record, p);
    p.proposed_name = NumberName(settings);
  } else {
    XtBoxInfo info{};
    if (!Host().items.box_info || Host().items.box_info(box, &info) != 0) return false;
    WriteSeparator(settings);
    settings.previous_element = ElementKind::kPicture;
    p.hspace = settings.ImageHSpace;
    p.vspace = settings.ImageVSpace;
    if (const auto record = BoxRecord::Read(box, XT_RECORD_PICTURE)) {
      p.link = LinkOpening(settings, *record);
      TakeRecord(*record, p);
    }
    p.proposed_name = ImportedName(box);
    if (p.proposed_name.empty()) p.proposed_name = NumberName(settings);
  }

  ExportPicture picture(settings, box, as_text_box ? XT_RECORD_EXPORT : XT_RECORD_PICTURE);
  const bool caption = (p.flags & kFlagCaption) != 0;
  const bool table = !caption && (p.flags & kFlagSendColor) != 0;
  WriteText(settings, p.alignment == kAlignCenter ? "\r\n<CENTER>\r\n" : "\r\n");
  if (caption || table) settings.previous_element = ElementKind::kNone;
  if (table) {
    WriteText(settings, "\r\n<TABLE BORDER=" + std::to_string(p.border) +
                            ">\r\n<TR>\r\n<TD ALIGN=" + std::string(AlignmentWord(p.alignment)) +
                            ">");
  } else if (caption) {
    const int width = picture.width();
    WriteText(settings, CaptionSnippet(settings, "ImageCaptionStart", p.alignment, &width));
  }
  if (!p.link.empty()) WriteText(settings, p.link);

  const std::string file_name = picture.Write(settings, p.proposed_name);
  WriteText(settings, "\r\n<IMG SRC=\"" + file_name);
  std::string tag = "\" HSPACE=" + std::to_string(p.hspace) + " VSPACE=" + std::to_string(p.vspace);
  if (!caption && !table) tag += " BORDER=" + std::to_string(p.border);
  tag += " ALT=\"" + p.alt_text + std::string(AlignAttribute(p.alignment)) +
         " HEIGHT=" + std::to_string(picture.height()) +
         " WIDTH=" + std::to_string(picture.width()) + ">";
  WriteText(settings, tag);

  if (!p.link.empty()) WriteText(settings, "</A>");
  if (table) WriteText(settings, "</TD>\r\n</TR>\r\n</TABLE>\r\n");
  if (caption) {
    WriteText(settings, "\r\n<BR CLEAR=\"ALL\">\r\n");
    WriteCaption(settings, box, p.caption_id);
    WriteText(settings, CaptionSnippet(settings, "ImageCaptionEnd", p.alignment, nullptr));
  }
  if (p.alignment == kAlignCenter) WriteText(settings, "\r\n</CENTER>\r\n");
  WriteAttachments(settings, box);
  return caption;
}

}  // namespace xt
