// The image that stands for the first letter of a paragraph with a drop cap: a GIF file per
// letter in the archive's "initials" folder, sized from the file's own header.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xt {

// Written in place of the image when the letter's file is missing or unreadable.
inline constexpr std::string_view kMissedDropCap = " ** missed drop char **";

// The IMG tag for `letter` (its file is <dest_folder>/initials/<letter>.gif, the letter taken as
// it is, so an "\xD6" is looked for under the file name "Ö.gif" in UTF-8 while the page names it
// in Windows-1252), with "$HOME:" replaced by `root_prefix`; kMissedDropCap when the file cannot
// be read.
// The letter's picture file, <dest_folder>/initials/<letter>.gif, as the system's text.
std::string DropCapPath(std::string_view dest_folder, std::uint8_t letter);

std::string DropCapImage(std::string_view dest_folder, std::uint8_t letter,
                         std::string_view root_prefix);

}  // namespace xt
