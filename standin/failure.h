// What went wrong in one operation of the library: the texts that RfcLastError hands out and
// that the trace file shows.
#pragma once

#include <stdexcept>
#include <string>

namespace standin {

class Failure : public std::runtime_error {
 public:
  // key: a short upper-case name of the kind of failure; message: what a reader of the
  // monitor's error text needs; detail: the technical reason, may be empty.
  Failure(std::string key, const std::string& message, std::string detail = {})
      : std::runtime_error(message), key_(std::move(key)), detail_(std::move(detail)) {}

  const std::string& key() const { return key_; }
  const std::string& detail() const { return detail_; }
  // The connection broke, stayed silent or answered garbage: a failure the library reports to
  // the installed error handler when it happens during a call or a receive.
  bool connectionLost() const { return connectionLost_; }
  Failure& MarkConnectionLost() {
    connectionLost_ = true;
    return *this;
  }
  // A lost connection that the partner closed in order, between two frames, rather than one
  // that broke off: the NetWeaver library tells them apart.
  bool closedByPartner() const { return closedByPartner_; }
  Failure& MarkClosedByPartner() {
    closedByPartner_ = true;
    return *this;
  }

 private:
  std::string key_;
  std::string detail_;
  bool connectionLost_ = false;
  bool closedByPartner_ = false;
};

}  // namespace standin
