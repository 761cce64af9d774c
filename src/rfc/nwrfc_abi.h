// The binary interface of SAP's NetWeaver RFC library (sapnwrfc.dll /
// libsapnwrfc.so) as far as the sensor uses it: UTF-16 texts, the error
// record, the connection parameters, opaque handles and the entry points the
// client resolves at run time.
//
// Declared in a namespace of their own: the classic library's records and
// result codes bear the same names. The entry points keep C linkage, so the
// stand-in that defines them exports the plain names.
#ifndef VAULTGAUGE_RFC_NWRFC_ABI_H_
#define VAULTGAUGE_RFC_NWRFC_ABI_H_

#include <cstddef>

// 32-bit Windows calls the library with stdcall; x64 Windows and POSIX use the
// platform's one C convention.
#if defined(_WIN32) && !defined(_WIN64)
#define NWRFC_API __stdcall
#else
#define NWRFC_API
#endif

namespace vaultgauge::nwrfc {

extern "C" {

// One UTF-16 code unit in the machine's byte order, 2 bytes everywhere.
typedef char16_t SAP_UC;
typedef SAP_UC RFC_CHAR;
typedef SAP_UC RFC_NUM;
typedef unsigned char RFC_BYTE;
typedef unsigned char RFC_BCD;
typedef int RFC_INT;
typedef long long RFC_INT8;
typedef double RFC_FLOAT;

typedef enum RFC_RC_ : int {
  RFC_OK = 0,
  RFC_COMMUNICATION_FAILURE = 1,
  RFC_LOGON_FAILURE = 2,
  RFC_ABAP_RUNTIME_FAILURE = 3,
  RFC_ABAP_MESSAGE = 4,
  RFC_ABAP_EXCEPTION = 5,
  RFC_CLOSED = 6,
  RFC_CANCELED = 7,
  RFC_TIMEOUT = 8,
  RFC_MEMORY_INSUFFICIENT = 9,
  RFC_VERSION_MISMATCH = 10,
  RFC_INVALID_PROTOCOL = 11,
  RFC_SERIALIZATION_FAILURE = 12,
  RFC_INVALID_HANDLE = 13,
  RFC_RETRY = 14,
  RFC_EXTERNAL_FAILURE = 15,
  RFC_EXECUTED = 16,
  RFC_NOT_FOUND = 17,
  RFC_NOT_SUPPORTED = 18,
  RFC_ILLEGAL_STATE = 19,
  RFC_INVALID_PARAMETER = 20,
  RFC_CODEPAGE_CONVERSION_FAILURE = 21,
  RFC_CONVERSION_FAILURE = 22,
  RFC_BUFFER_TOO_SMALL = 23,
  RFC_TABLE_MOVE_BOF = 24,
  RFC_TABLE_MOVE_EOF = 25,
  RFC_START_SAPGUI_FAILURE = 26,
  RFC_ABAP_CLASS_EXCEPTION = 27,
  RFC_UNKNOWN_ERROR = 28,
  RFC_AUTHORIZATION_FAILURE = 29,
  // Newer patch levels; the client maps them like any other code.
  RFC_AUTHENTICATION_FAILURE = 30,
  RFC_CRYPTOLIB_FAILURE = 31,
  RFC_IO_FAILURE = 32,
  RFC_LOCKING_FAILURE = 33,
} RFC_RC;

typedef enum RFC_ERROR_GROUP_ : int {
  OK = 0,
  ABAP_APPLICATION_FAILURE = 1,
  ABAP_RUNTIME_FAILURE = 2,
  LOGON_FAILURE = 3,
  COMMUNICATION_FAILURE = 4,
  EXTERNAL_RUNTIME_FAILURE = 5,
  EXTERNAL_APPLICATION_FAILURE = 6,
  EXTERNAL_AUTHORIZATION_FAILURE = 7,
  EXTERNAL_AUTHENTICATION_FAILURE = 8,  // newer SDK levels only
} RFC_ERROR_GROUP;

typedef enum RFCTYPE_ : int {
  RFCTYPE_CHAR = 0,
  RFCTYPE_DATE = 1,
  RFCTYPE_BCD = 2,
  RFCTYPE_TIME = 3,
  RFCTYPE_BYTE = 4,
  RFCTYPE_TABLE = 5,
  RFCTYPE_NUM = 6,
  RFCTYPE_FLOAT = 7,
  RFCTYPE_INT = 8,
  RFCTYPE_INT2 = 9,
  RFCTYPE_INT1 = 10,
  RFCTYPE_STRUCTURE = 17,
  RFCTYPE_STRING = 29,
  RFCTYPE_XSTRING = 30,
  RFCTYPE_INT8 = 31,
} RFCTYPE;

// No pointers: the same layout on 32 and 64 bits. The texts are
// null-terminated when shorter than their arrays.
typedef struct _RFC_ERROR_INFO {
  RFC_RC code;
  RFC_ERROR_GROUP group;
  SAP_UC key[128];
  SAP_UC message[512];
  SAP_UC abapMsgClass[21];
  SAP_UC abapMsgType[2];
  RFC_NUM abapMsgNumber[4];
  SAP_UC abapMsgV1[51];
  SAP_UC abapMsgV2[51];
  SAP_UC abapMsgV3[51];
  SAP_UC abapMsgV4[51];
} RFC_ERROR_INFO;

typedef struct _RFC_CONNECTION_PARAMETER {
  const SAP_UC* name;
  const SAP_UC* value;
} RFC_CONNECTION_PARAMETER;

// Opaque handles: pointers to a record holding one pointer.
typedef struct _RFC_CONNECTION_HANDLE {
  void* handle;
} * RFC_CONNECTION_HANDLE;
typedef struct _RFC_FUNCTION_DESC_HANDLE {
  void* handle;
} * RFC_FUNCTION_DESC_HANDLE;
typedef struct _DATA_CONTAINER_HANDLE {
  void* handle;
} * DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_STRUCTURE_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_TABLE_HANDLE;

// The entry points the client resolves.
typedef const SAP_UC*(NWRFC_API* RfcGetVersionFunction)(unsigned* major, unsigned* minor,
                                                        unsigned* patch);
typedef RFC_CONNECTION_HANDLE(NWRFC_API* RfcOpenConnectionFunction)(
    const RFC_CONNECTION_PARAMETER* parameters, unsigned count, RFC_ERROR_INFO* error);
typedef RFC_RC(NWRFC_API* RfcCloseConnectionFunction)(RFC_CONNECTION_HANDLE connection,
                                                      RFC_ERROR_INFO* error);
typedef RFC_FUNCTION_DESC_HANDLE(NWRFC_API* RfcGetFunctionDescFunction)(
    RFC_CONNECTION_HANDLE connection, const SAP_UC* name, RFC_ERROR_INFO* error);
typedef RFC_FUNCTION_HANDLE(NWRFC_API* RfcCreateFunctionFunction)(
    RFC_FUNCTION_DESC_HANDLE description, RFC_ERROR_INFO* error);
typedef RFC_RC(NWRFC_API* RfcDestroyFunctionFunction)(RFC_FUNCTION_HANDLE function,
                                                      RFC_ERROR_INFO* error);
typedef RFC_RC(NWRFC_API* RfcInvokeFunction)(RFC_CONNECTION_HANDLE connection,
                                             RFC_FUNCTION_HANDLE function, RFC_ERROR_INFO* error);
typedef RFC_RC(NWRFC_API* RfcGetStructureFunction)(DATA_CONTAINER_HANDLE container,
                                                   const SAP_UC* name,
                                                   RFC_STRUCTURE_HANDLE* structure,
                                                   RFC_ERROR_INFO* error);
typedef RFC_RC(NWRFC_API* RfcGetTableFunction)(DATA_CONTAINER_HANDLE container, const SAP_UC* name,
                                               RFC_TABLE_HANDLE* table, RFC_ERROR_INFO* error);
typedef RFC_RC(NWRFC_API* RfcGetRowCountFunction)(RFC_TABLE_HANDLE table, unsigned* count,
                                                  RFC_ERROR_INFO* error);
// The index counts from 0.
typedef RFC_RC(NWRFC_API* RfcMoveToFunction)(RFC_TABLE_HANDLE table, unsigned index,
                                             RFC_ERROR_INFO* error);
typedef RFC_STRUCTURE_HANDLE(NWRFC_API* RfcGetCurrentRowFunction)(RFC_TABLE_HANDLE table,
                                                                  RFC_ERROR_INFO* error);
// Null-terminated; `length` is set also when the buffer is too small.
typedef RFC_RC(NWRFC_API* RfcGetStringFunction)(DATA_CONTAINER_HANDLE container, const SAP_UC* name,
                                                SAP_UC* buffer, unsigned buffer_length,
                                                unsigned* length, RFC_ERROR_INFO* error);

}  // extern "C"

static_assert(sizeof(SAP_UC) == 2);
static_assert(sizeof(RFC_RC) == 4 && sizeof(RFC_ERROR_GROUP) == 4);
static_assert(offsetof(RFC_ERROR_INFO, group) == 4);
static_assert(offsetof(RFC_ERROR_INFO, key) == 8);
static_assert(offsetof(RFC_ERROR_INFO, message) == 264);
static_assert(offsetof(RFC_ERROR_INFO, abapMsgClass) == 1288);
static_assert(offsetof(RFC_ERROR_INFO, abapMsgType) == 1330);
static_assert(offsetof(RFC_ERROR_INFO, abapMsgNumber) == 1334);
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV1) == 1342);
static_assert(offsetof(RFC_ERROR_INFO, abapMsgV4) == 1648);
static_assert(sizeof(RFC_ERROR_INFO) == 1752);
static_assert(offsetof(RFC_CONNECTION_PARAMETER, value) == sizeof(void*));
static_assert(sizeof(RFC_CONNECTION_PARAMETER) == 2 * sizeof(void*));
static_assert(sizeof(void*) == 8 ? sizeof(RFC_CONNECTION_PARAMETER) == 16
                                 : sizeof(RFC_CONNECTION_PARAMETER) == 8);
static_assert(sizeof(RFC_CONNECTION_HANDLE) == sizeof(void*));

}  // namespace vaultgauge::nwrfc

#endif  // VAULTGAUGE_RFC_NWRFC_ABI_H_
