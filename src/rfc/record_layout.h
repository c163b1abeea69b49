// Both layouts of every record the RFC libraries exchange, the classic one's and the NetWeaver
// one's, checked at compile time: the 32-bit one (4-byte pointers, i686) and the 64-bit one
// (x86-64), in every build whatever its own width. A library is built for one of them, and a
// record off by one byte hands it values it reads as garbage, without an error to report.
#pragma once

#include <cstddef>

#include "src/rfc/rfcsi_layout.h"
#include "src/rfc/sapnwrfc.h"
#include "src/rfc/saprfc.h"

namespace rfc_layout {

// Members of explicit size and alignment, so that a record's layout in either width follows
// from the order of its members alone, on any build host. The records hold only pointers,
// 32-bit integers and characters, each aligned to its own size on i686 and x86-64; MinGW's
// i686 rules differ from the System V ones only for 8-byte members, which none of them has.
template <std::size_t kWidth>
struct Pointer {
  alignas(kWidth) unsigned char bytes[kWidth];
};
struct Int32 {
  alignas(4) unsigned char bytes[4];
};
template <std::size_t kLength>
struct Chars {
  char bytes[kLength];
};
// UTF-16 code units, two bytes each.
template <std::size_t kLength>
struct Units {
  alignas(2) unsigned char bytes[2 * kLength];
};

template <std::size_t W>
struct GatewayOptions {
  Pointer<W> gatewayHost;
  Pointer<W> gatewayService;
};

template <std::size_t W>
struct HostOptions {
  Pointer<W> hostName;
  Int32 systemNumber;
  Pointer<W> gatewayHost;
  Pointer<W> gatewayService;
};

template <std::size_t W>
struct RfcOpenOptions {
  Pointer<W> destination;
  Int32 mode;
  Pointer<W> connectionParameters;
  Pointer<W> client;
  Pointer<W> user;
  Pointer<W> password;
  Pointer<W> language;
  Int32 trace;
};

template <std::size_t W>
struct RfcStructureField {
  Pointer<W> name;
  Int32 type;
  Int32 length;
  Int32 decimals;
  Int32 offset;
};

template <std::size_t W>
struct RfcParameter {
  Pointer<W> name;
  Int32 nameLength;
  Int32 type;
  Int32 length;
  Pointer<W> address;
};

// The same in both widths: characters only.
template <std::size_t W>
struct RfcErrorInfo {
  Chars<33> key;
  Chars<128> status;
  Chars<256> message;
  Chars<128> internalStatus;
};

template <std::size_t W>
struct RfcEnvironmentRecord {
  Pointer<W> errorHandler;
  Pointer<W> allocator;
};

// The NetWeaver library's records. The error record holds 32-bit integers and UTF-16 units
// only, the same in both widths.
template <std::size_t W>
struct RFC_ERROR_INFO {
  Int32 code;
  Int32 group;
  Units<128> key;
  Units<512> message;
  Units<21> abapMsgClass;
  Units<2> abapMsgType;
  Units<4> abapMsgNumber;
  Units<51> abapMsgV1;
  Units<51> abapMsgV2;
  Units<51> abapMsgV3;
  Units<51> abapMsgV4;
};

template <std::size_t W>
struct RFC_CONNECTION_PARAMETER {
  Pointer<W> name;
  Pointer<W> value;
};

}  // namespace rfc_layout

// A record's size in the 32-bit and the 64-bit layout, and the real record (Real, of this
// build's width) against it.
#define RFC_LAYOUT_SIZE_OF(Real, Record, size32, size64)                            \
  static_assert(sizeof(rfc_layout::Record<4>) == (size32), #Record " 32-bit size"); \
  static_assert(sizeof(rfc_layout::Record<8>) == (size64), #Record " 64-bit size"); \
  static_assert(sizeof(Real) == sizeof(rfc_layout::Record<sizeof(void*)>),          \
                #Record " in this build: size")

// A member's offset in the 32-bit and the 64-bit layout, and the real member of this build at
// its width's offset with its width's size.
#define RFC_LAYOUT_MEMBER_OF(Real, Record, member, at32, at64)                                   \
  static_assert(offsetof(rfc_layout::Record<4>, member) == (at32),                               \
                #Record "::" #member " 32-bit offset");                                          \
  static_assert(offsetof(rfc_layout::Record<8>, member) == (at64),                               \
                #Record "::" #member " 64-bit offset");                                          \
  static_assert(offsetof(Real, member) == offsetof(rfc_layout::Record<sizeof(void*)>, member) && \
                    sizeof(Real::member) == sizeof(rfc_layout::Record<sizeof(void*)>::member),   \
                #Record "::" #member " in this build: offset and size")

// The classic library's records stand in the global namespace.
#define RFC_LAYOUT_SIZE(Record, size32, size64) RFC_LAYOUT_SIZE_OF(::Record, Record, size32, size64)
#define RFC_LAYOUT_MEMBER(Record, member, at32, at64) \
  RFC_LAYOUT_MEMBER_OF(::Record, Record, member, at32, at64)

RFC_LAYOUT_SIZE(GatewayOptions, 8, 16);
RFC_LAYOUT_MEMBER(GatewayOptions, gatewayHost, 0, 0);
RFC_LAYOUT_MEMBER(GatewayOptions, gatewayService, 4, 8);

RFC_LAYOUT_SIZE(HostOptions, 16, 32);
RFC_LAYOUT_MEMBER(HostOptions, hostName, 0, 0);
RFC_LAYOUT_MEMBER(HostOptions, systemNumber, 4, 8);
RFC_LAYOUT_MEMBER(HostOptions, gatewayHost, 8, 16);
RFC_LAYOUT_MEMBER(HostOptions, gatewayService, 12, 24);

RFC_LAYOUT_SIZE(RfcOpenOptions, 32, 64);
RFC_LAYOUT_MEMBER(RfcOpenOptions, destination, 0, 0);
RFC_LAYOUT_MEMBER(RfcOpenOptions, mode, 4, 8);
RFC_LAYOUT_MEMBER(RfcOpenOptions, connectionParameters, 8, 16);
RFC_LAYOUT_MEMBER(RfcOpenOptions, client, 12, 24);
RFC_LAYOUT_MEMBER(RfcOpenOptions, user, 16, 32);
RFC_LAYOUT_MEMBER(RfcOpenOptions, password, 20, 40);
RFC_LAYOUT_MEMBER(RfcOpenOptions, language, 24, 48);
RFC_LAYOUT_MEMBER(RfcOpenOptions, trace, 28, 56);

// RFCSI holds characters only, the same in both widths: rfcsi_layout.h checks it against its
// one field table.

RFC_LAYOUT_SIZE(RfcStructureField, 20, 24);
RFC_LAYOUT_MEMBER(RfcStructureField, name, 0, 0);
RFC_LAYOUT_MEMBER(RfcStructureField, type, 4, 8);
RFC_LAYOUT_MEMBER(RfcStructureField, length, 8, 12);
RFC_LAYOUT_MEMBER(RfcStructureField, decimals, 12, 16);
RFC_LAYOUT_MEMBER(RfcStructureField, offset, 16, 20);

RFC_LAYOUT_SIZE(RfcParameter, 20, 32);
RFC_LAYOUT_MEMBER(RfcParameter, name, 0, 0);
RFC_LAYOUT_MEMBER(RfcParameter, nameLength, 4, 8);
RFC_LAYOUT_MEMBER(RfcParameter, type, 8, 12);
RFC_LAYOUT_MEMBER(RfcParameter, length, 12, 16);
RFC_LAYOUT_MEMBER(RfcParameter, address, 16, 24);

RFC_LAYOUT_SIZE(RfcErrorInfo, 545, 545);
RFC_LAYOUT_MEMBER(RfcErrorInfo, key, 0, 0);
RFC_LAYOUT_MEMBER(RfcErrorInfo, status, 33, 33);
RFC_LAYOUT_MEMBER(RfcErrorInfo, message, 161, 161);
RFC_LAYOUT_MEMBER(RfcErrorInfo, internalStatus, 417, 417);

RFC_LAYOUT_SIZE(RfcEnvironmentRecord, 8, 16);
RFC_LAYOUT_MEMBER(RfcEnvironmentRecord, errorHandler, 0, 0);
RFC_LAYOUT_MEMBER(RfcEnvironmentRecord, allocator, 4, 8);

// The NetWeaver library's records, in its namespace. The error record's size, 1750 bytes of
// members, is rounded up to the alignment of its integers.
#define NWRFC_LAYOUT_SIZE(Record, size32, size64) \
  RFC_LAYOUT_SIZE_OF(nwrfc::Record, Record, size32, size64)
#define NWRFC_LAYOUT_MEMBER(Record, member, at32, at64) \
  RFC_LAYOUT_MEMBER_OF(nwrfc::Record, Record, member, at32, at64)

NWRFC_LAYOUT_SIZE(RFC_ERROR_INFO, 1752, 1752);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, code, 0, 0);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, group, 4, 4);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, key, 8, 8);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, message, 264, 264);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, abapMsgClass, 1288, 1288);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, abapMsgType, 1330, 1330);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, abapMsgNumber, 1334, 1334);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, abapMsgV1, 1342, 1342);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, abapMsgV2, 1444, 1444);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, abapMsgV3, 1546, 1546);
NWRFC_LAYOUT_MEMBER(RFC_ERROR_INFO, abapMsgV4, 1648, 1648);

NWRFC_LAYOUT_SIZE(RFC_CONNECTION_PARAMETER, 8, 16);
NWRFC_LAYOUT_MEMBER(RFC_CONNECTION_PARAMETER, name, 0, 0);
NWRFC_LAYOUT_MEMBER(RFC_CONNECTION_PARAMETER, value, 4, 8);

// One UTF-16 unit, and int-sized codes and groups, on every platform.
static_assert(sizeof(nwrfc::SAP_UC) == 2 && sizeof(nwrfc::RFC_RC) == 4 &&
              sizeof(nwrfc::RFC_ERROR_GROUP) == 4);

#undef NWRFC_LAYOUT_SIZE
#undef NWRFC_LAYOUT_MEMBER
#undef RFC_LAYOUT_SIZE
#undef RFC_LAYOUT_MEMBER
#undef RFC_LAYOUT_SIZE_OF
#undef RFC_LAYOUT_MEMBER_OF
