// A stand-in for the plug-in's text filter in tests of the page writer and the export job:
// each run of a box is written into the page between brackets.
#pragma once

#include <string>

#include "hostapi/host_tables.h"
#include "tests/xt/fake_host.h"
#include "xt/export/export_settings.h"
#include "xt/export/page_writer.h"

namespace xt::test {

struct FakeFilter {
  static inline int begins = 0;
  static inline bool inside_page = false;
  static XtErr Callback(std::int32_t opcode, void* params) {
    ExportSettings& settings = *ActiveSettings();
    if (opcode == XT_OP_FILTER_BEGIN) {
      ++begins;
      inside_page = settings.inside_page_export;
    } else if (opcode == XT_OP_FILTER_RUN) {
      const auto& run = *static_cast<XtTextRun*>(params);
      WriteText(settings, "[" +
                              std::string(reinterpret_cast<const char*>(run.bytes),
                                          static_cast<std::size_t>(run.count)) +
                              "]");
    }
    return 0;
  }
  static void Install(FakeHost& host) {
    begins = 0;
    for (int opcode : {XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END}) {
      host.InstallCallback(opcode, Callback);
    }
    Host().text.register_filter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, "MarlixXT40",
                                XT_FILTER_FLAGS);
  }
};

}  // namespace xt::test
