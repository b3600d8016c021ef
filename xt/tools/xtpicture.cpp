// xtpicture: the plug-in's picture writers and preview decoders on the command line, for
// scripts, benchmarks and fuzz corpora.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include <jerror.h>

#include "xt/picture/bitmap_files.h"
#include "xt/picture/gif_preview.h"
#include "xt/picture/gif_writer.h"
#include "xt/picture/jpeg_preview.h"
#include "xt/picture/jpeg_writer.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: xtpicture gif IN OUT.gif [--interlaced] [--transparent]\n"
    "       xtpicture jpeg IN OUT.jpg [--progressive]\n"
    "       xtpicture preview IN.gif|IN.jpg OUT.bmp\n"
    "\n"
    "gif      writes IN (a binary PPM or a BMP) as a GIF89a file, reduced to 256 colours\n"
    "jpeg     writes IN (a binary PPM or a 24-bit BMP) as a JPEG file at quality 75\n"
    "preview  decodes a GIF or JPEG file as the preview does and writes it as a BMP file;\n"
    "         a GIF the preview refuses prints its error code and exits with 1\n"
    "\n"
    "       xtpicture --help | --version\n"
    "\n"
    "Exit status: 0 success, 1 a picture that could not be read or written, 2 usage error.\n";

struct Options {
  std::vector<std::string> files;
  bool interlaced = false;
  bool transparent = false;
  bool progressive = false;
};

// Fills `options`; on a usage error returns false with `error` set.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--interlaced") {
      options.interlaced = true;
    } else if (arg == "--transparent") {
      options.transparent = true;
    } else if (arg == "--progressive") {
      options.progressive = true;
    } else if (arg.starts_with("-") && arg != "-") {
      error = "unknown option " + arg;
      return false;
    } else {
      options.files.push_back(arg);
    }
  }
  if (options.files.size() != 2) {
    error = "needs an input and an output file";
    return false;
  }
  return true;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "xtpicture: %s\nTry 'xtpicture --help' for more information.\n",
               message.c_str());
  return kExitUsage;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "xtpicture: %s\n", message.c_str());
  return kExitFailed;
}

int WriteGif(const Options& o) {
  const std::optional<xt::PackedBitmap> picture = xt::LoadPicture(o.files[0]);
  if (!picture) return Fail("cannot read a PPM or BMP picture from " + o.files[0]);
  const auto gif = xt::EncodeGif(*picture, o.interlaced, o.transparent);
  if (!gif) return Fail("the picture could not be reduced to 8 bits");
  if (const platform::Status status = xt::WriteWholeFile(o.files[1], *gif); !status.ok())
    return Fail("cannot write " + status.Detail());
  return kExitOk;
}

int WriteJpeg(const Options& o) {
  // A PPM goes to the compressor row by row as it is read, in its own byte order: it is never
  // held whole nor rearranged into a bitmap first.
  xt::PpmReader ppm;
  xt::JpegResult result;
  if (ppm.Open(o.files[0])) {
    result = xt::WriteJpegRows(
        ppm.width(), ppm.height(), xt::JpegPixelOrder::kRedGreenBlue,
        [&ppm] { return ppm.NextRow(); }, o.files[1], o.progressive);
    if (result.libjpeg_code == JERR_INPUT_EOF)
      return Fail("cannot read a PPM or BMP picture from " + o.files[0]);
  } else {
    const std::optional<xt::PackedBitmap> picture = xt::LoadPicture(o.files[0]);
    if (!picture) return Fail("cannot read a PPM or BMP picture from " + o.files[0]);
    result = xt::WriteJpegFile(*picture, o.files[1], o.progressive);
  }
  if (!result.file.ok()) return Fail("cannot write " + result.file.Detail());
  if (result.libjpeg_code != 0) return Fail("libjpeg error " + std::to_string(result.libjpeg_code));
  return kExitOk;
}

int Preview(const Options& o) {
  const std::optional<std::vector<std::uint8_t>> file = xt::ReadWholeFile(o.files[0]);
  if (!file) return Fail("cannot read " + o.files[0]);
  xt::PackedBitmap bitmap;
  if (file->size() >= 3 && std::memcmp(file->data(), "GIF", 3) == 0) {
    xt::GifPreview preview = xt::DecodeGifPreviewData(*file);
    if (preview.error != xt::kGifPreviewOk) {
      std::printf("%d\n", preview.error);
      return kExitFailed;
    }
    bitmap = std::move(preview.bitmap);
  } else if (!xt::DecodeJpegPreviewData(*file, bitmap)) {
    return Fail("not a GIF, and libjpeg could not decode it");
  }
  if (const platform::Status status = xt::WriteWholeFile(o.files[1], xt::BmpFileBytes(bitmap));
      !status.ok())
    return Fail("cannot write " + status.Detail());
  return kExitOk;
}

int Run(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  const std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (command == "--version") {
    std::printf("xtpicture %s\n", MARLIX_VERSION);
    return kExitOk;
  }
  if (command != "gif" && command != "jpeg" && command != "preview") {
    return UsageError("unknown command \"" + command + "\"");
  }
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) return UsageError(command + ": " + error);
  if (command == "gif" && !options.progressive) return WriteGif(options);
  if (command == "jpeg" && !options.interlaced && !options.transparent) return WriteJpeg(options);
  if (command == "preview" && !options.progressive && !options.interlaced && !options.transparent)
    return Preview(options);
  return UsageError(command + ": an option that does not belong to it");
}

}  // namespace

// Whatever the file system does, the program ends with a message and its exit status.
int main(int argc, char** argv) {
  // Past a file size limit a write then fails with EFBIG and is reported like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    return Fail(error.what());
  }
}
