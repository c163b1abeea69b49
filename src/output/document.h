// The documents the sensor prints: a system's document, a listing run's pieces and the error
// document, each in the run's flavour.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "src/output/durations.h"
#include "src/output/error_block.h"
#include "src/output/flavour.h"

// Response-time limits in milliseconds, on which the monitor alerts; it takes a channel's limits
// when it creates the channel.
struct TimeLimits {
  std::optional<std::int32_t> warning;
  std::optional<std::int32_t> error;
};

// One channel: a measured value with its unit, and the limits the XML flavours give it.
struct Channel {
  std::string_view key;
  std::string_view name;
  std::string value;
  std::string_view unit;  // a custom unit; empty for none
  bool count = false;     // a number of things, in the monitor's own unit Count
  std::optional<std::int32_t> maxWarning;
  std::optional<std::int32_t> maxError;
  std::string warningMessage;
  std::string errorMessage;

  // A channel in a custom unit (empty: none), without limits.
  static Channel Custom(std::string_view key, std::string_view name, std::string value,
                        std::string_view unit) {
    Channel channel;
    channel.key = key;
    channel.name = name;
    channel.value = std::move(value);
    channel.unit = unit;
    return channel;
  }
};

// What is printed when the library reports a failure it cannot return from: before the library
// closes its connections, and after.
struct LibraryFailureOutput {
  std::string beforeClose;
  std::string afterClose;
};

// One run's documents. It counts the channels of the whole run, on which Quillon's channel
// selection ("CH=n": only the n-th channel writes, and only its value) rests, and it knows
// whether a listing's head is out already, so that an error ends that document instead of
// starting a second one.
class Document {
 public:
  Document() = default;
  Document(OutputFlavour flavour, std::optional<std::int32_t> channelSelector,
           TimeLimits limits = {});

  // A single run's system that answered: its text, then the open, processing, close and
  // response times; the limits go on the response time, which administrators alert on.
  std::string SystemDocument(std::string_view systemText, const Durations& times);

  // A listing run prints its head first, then each system's channel as soon as it is measured
  // (with the limits: each is that system's item), then the summary that ends the document.
  std::string ListingHead();
  std::string ListingChannel(std::string_view key, std::string_view name, std::string_view item,
                             std::int32_t milliseconds);
  // The count of a listing's failed systems, which turns the sensor red from one up.
  std::string FailedSystemsChannel(std::uint32_t failed);
  std::string ListingSummary(std::string_view summary);

  // The error document around a message, in every flavour; once a listing's head is out, the
  // ending of that document with the error flag and the message.
  std::string ErrorDocument(std::string_view message) const;

  // A single run prints the library's error block; a listing run ends its open document with
  // the error.
  LibraryFailureOutput LibraryFailureEnding(const LibraryFailure& failure) const;

  // Appends one channel in the run's flavour and counts it, whether or not anything is
  // written: an XML Result element, a Nebulant "Statistic."/"Message." pair, a Quillon "> "
  // line or, with a channel selected, the selected channel's bare value.
  void AddChannel(std::string& document, const Channel& channel);

 private:
  void AppendText(std::string& document, std::string_view text) const;
  // A time channel, with the run's limits when `limited`.
  Channel TimeChannel(std::string_view key, std::string_view name, std::string_view item,
                      std::int32_t milliseconds, bool limited) const;

  OutputFlavour flavour_ = OutputFlavour::EXEXML;
  std::optional<std::int32_t> channelSelector_;
  TimeLimits limits_;
  std::int32_t channelCount_ = 0;
  bool listingHeadOut_ = false;
};
