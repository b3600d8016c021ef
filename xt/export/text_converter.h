// The plug-in's HTML text-export filter. The host drives it with begin, one call per text run
// and end (callbacks 19, 20, 21); it turns the styled runs of one story into HTML, written either
// into the page being exported (through the page writer's chunk writer) or, when the user runs
// the host's own text export, as a small stand-alone HTML document into the host's file.
#pragma once

#include "hostapi/xt_host_api.h"

namespace xt {

// Each returns 0, or -1 (and writes nothing) for a file type other than 'HTML'. They work on the
// plug-in's one settings object and its one converter state.
int FilterBegin(const XtFilterBeginParams& params);
int FilterRun(const XtTextRun& run);
int FilterEnd(const XtFilterEndParams& params);

// Drops a story that was begun and never ended, giving the host its own writer back; nothing
// when no story is open. Called when the settings object the story writes into is withdrawn.
void AbandonTextExport();

}  // namespace xt
