// What the runs ask of an RFC library: one conversation with one system at a time. The
// classic library is one implementation; a run never knows which one it talks to.
#pragma once

#include <functional>
#include <memory>

#include "src/output/error_block.h"
#include "src/rfc/conversation.h"
#include "src/rfc/logon.h"

// Whether the system is asked for its information, or only connected (an invalid listed entry
// is connected all the same, but not called).
enum class CallChoice { CallSystemInfo, ConnectOnly };

class RfcClient {
 public:
  virtual ~RfcClient() = default;
  // Sets the library up, opens the connection of `logon`, calls RFC_SYSTEM_INFO as chosen and
  // closes, timing each step.
  [[nodiscard]] virtual Conversation Converse(const Logon& logon, CallChoice call) = 0;
  // Hands this run's trace over to the sensor's directory and removes what the run made for the
  // library; the run calls it however it ends, once its document is out. Later calls do nothing.
  virtual void Finish() = 0;
};

// How the run ends when a library reports a failure from inside one of its operations, through
// a handler that must not return into the library: the run prints its ending, lets
// `closeLibrary` close the library's connections and hand its trace over, and ends the process.
class LibraryFailureReport {
 public:
  virtual ~LibraryFailureReport() = default;
  [[noreturn]] virtual void EndRun(const LibraryFailure& failure,
                                   const std::function<void()>& closeLibrary) = 0;
};

using RfcClientFactory = std::function<std::unique_ptr<RfcClient>(LibraryFailureReport&)>;
