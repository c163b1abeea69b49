// What the runs ask of an RFC library: one conversation with one system at a time. The
// classic library is one implementation; a run never knows which one it talks to.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

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

// The run's side of a library's operations. A library's operation may never come back: it may
// hang, crash or end the process. So the run is told of each before it starts and after it
// returned, and prepares what it prints should the operation not return.
class LibraryWatch {
 public:
  virtual ~LibraryWatch() = default;
  virtual void OperationStarts(std::string_view operation) = 0;
  virtual void OperationReturned() = 0;
  // A failure the library reports from inside an operation, through a handler that must not
  // return into the library: the run prints its ending, lets `closeLibrary` close the
  // library's connections and hand its trace over, and ends the process.
  [[noreturn]] virtual void LibraryFailed(const LibraryFailure& failure,
                                          const std::function<void()>& closeLibrary) = 0;
};

// One library operation, from its start to its return.
class OperationInProgress {
 public:
  OperationInProgress(LibraryWatch& watch, std::string_view operation) : watch_(watch) {
    watch_.OperationStarts(operation);
  }
  ~OperationInProgress() { watch_.OperationReturned(); }
  OperationInProgress(const OperationInProgress&) = delete;
  OperationInProgress& operator=(const OperationInProgress&) = delete;

 private:
  LibraryWatch& watch_;
};

using RfcClientFactory = std::function<std::unique_ptr<RfcClient>(LibraryWatch&)>;
