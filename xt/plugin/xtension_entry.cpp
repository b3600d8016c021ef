// The plug-in library's one export and its load and unload. Everything else lives in xt_core.
#include "xt/export/export_settings.h"
#include "xt/xtension/activation.h"
#include "xt/xtension/lifecycle.h"

namespace {

// The settings object exists from the library's load to its unload.
struct LibraryLifetime {
  LibraryLifetime() { xt::LoadXtension(xt::ExportSettings::DefaultProfilePath()); }
  ~LibraryLifetime() { xt::ReleaseXtension(); }
  LibraryLifetime(const LibraryLifetime&) = delete;
  LibraryLifetime& operator=(const LibraryLifetime&) = delete;
};

const LibraryLifetime library_lifetime;

}  // namespace

extern "C" __attribute__((visibility("default"))) XtErr xtactivate_cb(XtActivateBlock* block) {
  return xt::ActivateXtension(block);
}
