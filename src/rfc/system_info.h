// The one remote call of the sensor, RFC_SYSTEM_INFO, and what the system tells in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "src/output/console.h"
#include "src/output/system_text.h"
#include "src/rfc/rfc_library.h"
#include "src/rfc/saprfc.h"

// A character field of a record: at most its size, ending early at a zero byte, so a field
// without an end mark is never read past.
std::string_view BoundedText(const char* field, std::size_t size);
// A field of RFCSI as text: bounded, trailing blanks removed.
std::string FieldText(const char* field, std::size_t length);
// The values of the record that the sensor shows.
SystemFields FieldsOf(const RFCSI& info);

struct CallResult {
  std::int32_t code = RFC_OK;  // the library's return code
  std::string exception;       // the exception's name, for codes 2 and 3
  SystemFields fields;         // when the code is 0
};

// Calls RFC_SYSTEM_INFO on the connection and receives its answer. The structure RFCSI is
// installed at the first call; `rfcsiType` keeps its type handle for the run.
CallResult CallSystemInfo(const RfcOperations& rfc, RfcHandle handle, RfcType& rfcsiType,
                          const EventTrace& trace);

// The error text of a return code other than 0.
std::string DescribeCallFailure(std::int32_t code, std::string_view exception);
