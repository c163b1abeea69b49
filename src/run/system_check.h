// Checking one system, the same in a single and in a listing run: its logon, the conversation.
#pragma once

#include "src/config/parameters.h"
#include "src/config/system_entry.h"
#include "src/rfc/conversation.h"
#include "src/rfc/logon.h"
#include "src/rfc/rfc_client.h"
#include "src/run/run_context.h"

// The logon of the entry, with the host and system number the parameter text may put instead.
Logon LogonOf(const SystemEntry& entry, const Parameters& parameters);

// Talks to the run's current system, loading the library first when this is the run's first
// system.
[[nodiscard]] Conversation CheckSystem(RunContext& run, CallChoice call);
