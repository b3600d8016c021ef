// Activation and binding: how the plug-in comes alive inside the layout program.
//
// The host calls the plug-in's export with an activation block: the plug-in registers itself,
// hands over a further value and installs its main callback. The main callback's first call
// brings the host's callback table; after checking its shape the plug-in binds each host table
// it uses, by table id and the numbers of the functions it calls, and then starts up.
#pragma once

#include "hostapi/xt_host_api.h"

namespace xt {

// The body of xtactivate_cb: 0, or XT_ERR_ACTIVATION when the host refuses the registration.
XtErr ActivateXtension(XtActivateBlock* block);

// The main callback. Its start call checks the callback table (else XT_ERR_CALLBACK_TABLE),
// binds every host table (any refusal: XT_ERR_ACTIVATION) and starts the plug-in up.
XtErr MainCallback(int32_t opcode, void* params);

}  // namespace xt
