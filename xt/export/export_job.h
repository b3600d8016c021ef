// The export job: Export, Append and Preview of the current item of the layout document into
// one page of the archive, walking groups depth first.
#pragma once

#include <functional>
#include <string>

#include "hostapi/xt_host_api.h"

namespace xt {

class ExportSettings;

// Deepest group nesting the walk enters, and most boxes selected again after a job.
inline constexpr int kMaxGroupDepth = 128;
inline constexpr int kMaxListedBoxes = 128;

// Shows a written page; returns 0 when the browser confirmed it.
using ShowPage = std::function<int(ExportSettings& settings, const std::string& page_path)>;

// Runs one job (XT_JOB_EXPORT, XT_JOB_APPEND or XT_JOB_PREVIEW) with the job fields already
// set in `settings`. Returns 0 success, 1 the page was written but the external footer file
// could not be used, -1 refused or failed. Export (unless settings.browser_allowed is off) and
// Preview also show the page through `show` as configured; a failure to show it sets
// settings.browser_failed. What the job could not find or use is in settings.job_warnings.
int RunExportJob(ExportSettings& settings, int operation, const ShowPage& show);

}  // namespace xt
