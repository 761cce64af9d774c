// The binary interface of the classic (non-Unicode) SAP RFC library: the
// records and the twelve operations the sensor uses, declared so that SAP's
// own librfc32.dll / librfccm.so can be dropped in for the stand-in.
//
// Layout rules: default alignment (no packing), handles are 32-bit unsigned
// integers, ITAB_H is a pointer. Input texts are declared const; C linkage has
// no mangling, so the binary interface is the same as with plain char*.
#ifndef VAULTGAUGE_RFC_RFC_ABI_H_
#define VAULTGAUGE_RFC_RFC_ABI_H_

#include <cstddef>

// 32-bit Windows calls the library and its callbacks with stdcall; x64 and
// POSIX use the platform's one C convention.
#if defined(_WIN32) && !defined(_WIN64)
#define SAP_API __stdcall
#define DLL_CALL_BACK_FUNCTION __stdcall
#else
#define SAP_API
#define DLL_CALL_BACK_FUNCTION
#endif

extern "C" {

typedef char RFC_CHAR;
typedef unsigned int RFC_HANDLE;
typedef unsigned int RFC_TYPEHANDLE;
typedef void* ITAB_H;

#define RFC_HANDLE_NULL 0u
#define ITAB_NULL nullptr

typedef enum RFC_RC_ : int {
  RFC_OK = 0,
  RFC_FAILURE = 1,
  RFC_EXCEPTION = 2,
  RFC_SYS_EXCEPTION = 3,
  RFC_CALL = 4,
  RFC_INTERNAL_COM = 5,
  RFC_CLOSED = 6,
  RFC_RETRY = 7,
  RFC_NO_TID = 8,
  RFC_EXECUTED = 9,
  RFC_SYNCHRONIZE = 10,
  RFC_MEMORY_INSUFFICIENT = 11,
  RFC_VERSION_MISMATCH = 12,
  RFC_NOT_FOUND = 13,
  RFC_CALL_NOT_SUPPORTED = 14,
  RFC_NOT_OWNER = 15,
  RFC_NOT_INITIALIZED = 16,
  RFC_SYSTEM_CALLED = 17,
  RFC_INVALID_HANDLE = 18,
  RFC_INVALID_PARAMETER = 19,
  RFC_CANCELED = 20,
  RFC_CONVERSION = 21,
  RFC_INVALID_PROTOCOL = 22,
  RFC_TIMEOUT = 23,
} RFC_RC;

typedef enum RFC_MODE_ : int {
  RFC_MODE_R3ONLY = 0,
  RFC_MODE_CPIC = 1,
  RFC_MODE_VERSION_3 = 3,
  RFC_MODE_PARAMETER = 4,
  RFC_MODE_CPIC_EXT = 5,
} RFC_MODE;

typedef enum RFC_ITMODE_ : int {
  RFC_ITMODE_BYREFERENCE = 0,
  RFC_ITMODE_BYVALUE = 1,
  RFC_ITMODE_KEEPALIVE = 2,
} RFC_ITMODE;

typedef enum RFC_ERROR_GROUP_ : int {
  RFC_ERROR_PROGRAM = 101,
  RFC_ERROR_COMMUNICATION = 102,
  RFC_ERROR_LOGON_FAILURE = 103,
  RFC_ERROR_SYSTEM_FAILURE = 104,
  RFC_ERROR_APPLICATION_EXCEPTION = 105,
  RFC_ERROR_RESOURCE = 106,
  RFC_ERROR_PROTOCOL = 107,
  RFC_ERROR_INTERNAL = 108,
  RFC_ERROR_CANCELLED = 109,
  RFC_ERROR_BUSY = 110,
} RFC_ERROR_GROUP;

// Type codes of RFC_TYPE_ELEMENT, RFC_PARAMETER and RFC_TABLE; an installed
// structure's handle stands in their place.
enum : RFC_TYPEHANDLE {
  TYPC = 0,      // characters, blank-padded
  TYPDATE = 1,   // YYYYMMDD
  TYPP = 2,      // packed decimal
  TYPTIME = 3,   // HHMMSS
  TYPX = 4,      // raw bytes
  TYPTABH = 5,   // table handle
  TYPNUM = 6,    // digits
  TYPFLOAT = 7,  // double
  TYPINT = 8,    // 4-byte integer
  TYPINT2 = 9,
  TYPINT1 = 10,
};

typedef void(DLL_CALL_BACK_FUNCTION* RFC_ERROR_HANDLER)(RFC_CHAR* error_id);
typedef void*(DLL_CALL_BACK_FUNCTION* RFC_ALLOCATE)(void* old_ptr, unsigned long size);

typedef struct {
  RFC_ERROR_HANDLER errorhandler;
  RFC_ALLOCATE allocate;
} RFC_ENV;

typedef struct {
  const RFC_CHAR* destination;
  RFC_MODE mode;
  void* connopt;  // RFC_CONNOPT_R3ONLY for mode 0, RFC_CONNOPT_CPIC for mode 1
  const RFC_CHAR* client;
  const RFC_CHAR* user;
  const RFC_CHAR* password;
  const RFC_CHAR* language;
  int trace;
} RFC_OPTIONS;

typedef struct {
  const RFC_CHAR* hostname;
  int sysnr;
  const RFC_CHAR* gateway_host;
  const RFC_CHAR* gateway_service;
} RFC_CONNOPT_R3ONLY;

typedef struct {
  const RFC_CHAR* gateway_host;
  const RFC_CHAR* gateway_service;
} RFC_CONNOPT_CPIC;

// Lists of parameters and tables end with an entry whose name is null.
typedef struct {
  const RFC_CHAR* name;
  unsigned nlen;
  RFC_TYPEHANDLE type;
  unsigned leng;
  void* addr;
} RFC_PARAMETER;

typedef struct {
  const RFC_CHAR* name;
  unsigned nlen;
  RFC_TYPEHANDLE type;
  unsigned leng;  // the row length
  ITAB_H ithandle;
  RFC_ITMODE itmode;
  int newitab;  // the library's own; left as it is
} RFC_TABLE;

typedef struct {
  const RFC_CHAR* name;
  RFC_TYPEHANDLE type;
  unsigned length;
  unsigned decimals;
  unsigned _not_used;  // offset: the library derives it itself
} RFC_TYPE_ELEMENT;

typedef struct {
  RFC_CHAR key[33];
  RFC_CHAR status[128];
  RFC_CHAR message[256];
  RFC_CHAR intstat[128];
} RFC_ERROR_INFO;

typedef struct {
  RFC_ERROR_GROUP group;
  RFC_CHAR key[33];
  RFC_CHAR message[513];
} RFC_ERROR_INFO_EX;

// The twelve operations, as the library exports them under their plain names.
void SAP_API RfcEnvironment(RFC_ENV* new_env);
RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options);
RFC_HANDLE SAP_API RfcOpenEx(const RFC_CHAR* connect_param, RFC_ERROR_INFO_EX* error_info);
RFC_RC SAP_API RfcInstallStructure(const RFC_CHAR* name, RFC_TYPE_ELEMENT* elements,
                                   unsigned entries, RFC_TYPEHANDLE* pTypeHandle);
RFC_RC SAP_API RfcCall(RFC_HANDLE handle, const RFC_CHAR* function, RFC_PARAMETER* parameters,
                       RFC_TABLE* tables);
RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* parameters, RFC_TABLE* tables,
                          RFC_CHAR** exception);
int SAP_API RfcLastError(RFC_ERROR_INFO* error_info);
void SAP_API RfcClose(RFC_HANDLE handle);
ITAB_H SAP_API ItCreate(const RFC_CHAR* name, unsigned leng, unsigned occu, unsigned memo);
unsigned SAP_API ItFill(ITAB_H itab);
void* SAP_API ItGetLine(ITAB_H itab, unsigned line);
int SAP_API ItDelete(ITAB_H itab);

// The same operations as the pointers the loader resolves.
typedef void(SAP_API* RfcEnvironmentFunction)(RFC_ENV*);
typedef RFC_HANDLE(SAP_API* RfcOpenFunction)(RFC_OPTIONS*);
typedef RFC_HANDLE(SAP_API* RfcOpenExFunction)(const RFC_CHAR*, RFC_ERROR_INFO_EX*);
typedef RFC_RC(SAP_API* RfcInstallStructureFunction)(const RFC_CHAR*, RFC_TYPE_ELEMENT*, unsigned,
                                                     RFC_TYPEHANDLE*);
typedef RFC_RC(SAP_API* RfcCallFunction)(RFC_HANDLE, const RFC_CHAR*, RFC_PARAMETER*, RFC_TABLE*);
typedef RFC_RC(SAP_API* RfcReceiveFunction)(RFC_HANDLE, RFC_PARAMETER*, RFC_TABLE*, RFC_CHAR**);
typedef int(SAP_API* RfcLastErrorFunction)(RFC_ERROR_INFO*);
typedef void(SAP_API* RfcCloseFunction)(RFC_HANDLE);
typedef ITAB_H(SAP_API* ItCreateFunction)(const RFC_CHAR*, unsigned, unsigned, unsigned);
typedef unsigned(SAP_API* ItFillFunction)(ITAB_H);
typedef void*(SAP_API* ItGetLineFunction)(ITAB_H, unsigned);
typedef int(SAP_API* ItDeleteFunction)(ITAB_H);

}  // extern "C"

// The sizes and offsets of the binary interface; a compiler that lays the
// records out otherwise cannot talk to the real library.
static_assert(sizeof(RFC_HANDLE) == 4 && sizeof(RFC_TYPEHANDLE) == 4);
static_assert(sizeof(RFC_RC) == 4 && sizeof(RFC_MODE) == 4 && sizeof(RFC_ITMODE) == 4 &&
              sizeof(RFC_ERROR_GROUP) == 4);
static_assert(sizeof(unsigned) == 4 && sizeof(int) == 4);
static_assert(sizeof(RFC_ERROR_INFO) == 545);
static_assert(offsetof(RFC_ERROR_INFO, status) == 33 && offsetof(RFC_ERROR_INFO, message) == 161 &&
              offsetof(RFC_ERROR_INFO, intstat) == 417);
static_assert(sizeof(RFC_ERROR_INFO_EX) == 552);
static_assert(offsetof(RFC_ERROR_INFO_EX, key) == 4 && offsetof(RFC_ERROR_INFO_EX, message) == 37);

#if defined(_WIN64) || defined(__x86_64__) || defined(__aarch64__)
static_assert(sizeof(void*) == 8);
static_assert(sizeof(RFC_ENV) == 16 && offsetof(RFC_ENV, allocate) == 8);
static_assert(sizeof(RFC_OPTIONS) == 64);
static_assert(offsetof(RFC_OPTIONS, mode) == 8 && offsetof(RFC_OPTIONS, connopt) == 16 &&
              offsetof(RFC_OPTIONS, client) == 24 && offsetof(RFC_OPTIONS, user) == 32 &&
              offsetof(RFC_OPTIONS, password) == 40 && offsetof(RFC_OPTIONS, language) == 48 &&
              offsetof(RFC_OPTIONS, trace) == 56);
static_assert(sizeof(RFC_CONNOPT_R3ONLY) == 32);
static_assert(offsetof(RFC_CONNOPT_R3ONLY, sysnr) == 8 &&
              offsetof(RFC_CONNOPT_R3ONLY, gateway_host) == 16 &&
              offsetof(RFC_CONNOPT_R3ONLY, gateway_service) == 24);
static_assert(sizeof(RFC_CONNOPT_CPIC) == 16 && offsetof(RFC_CONNOPT_CPIC, gateway_service) == 8);
static_assert(sizeof(RFC_PARAMETER) == 32);
static_assert(offsetof(RFC_PARAMETER, nlen) == 8 && offsetof(RFC_PARAMETER, type) == 12 &&
              offsetof(RFC_PARAMETER, leng) == 16 && offsetof(RFC_PARAMETER, addr) == 24);
static_assert(sizeof(RFC_TABLE) == 40);
static_assert(offsetof(RFC_TABLE, nlen) == 8 && offsetof(RFC_TABLE, type) == 12 &&
              offsetof(RFC_TABLE, leng) == 16 && offsetof(RFC_TABLE, ithandle) == 24 &&
              offsetof(RFC_TABLE, itmode) == 32 && offsetof(RFC_TABLE, newitab) == 36);
static_assert(sizeof(RFC_TYPE_ELEMENT) == 24);
static_assert(offsetof(RFC_TYPE_ELEMENT, type) == 8 && offsetof(RFC_TYPE_ELEMENT, length) == 12 &&
              offsetof(RFC_TYPE_ELEMENT, decimals) == 16 &&
              offsetof(RFC_TYPE_ELEMENT, _not_used) == 20);
#else
static_assert(sizeof(void*) == 4);
static_assert(sizeof(RFC_ENV) == 8);
static_assert(sizeof(RFC_OPTIONS) == 32 && offsetof(RFC_OPTIONS, trace) == 28);
static_assert(sizeof(RFC_CONNOPT_R3ONLY) == 16 && sizeof(RFC_CONNOPT_CPIC) == 8);
static_assert(sizeof(RFC_PARAMETER) == 20 && offsetof(RFC_PARAMETER, addr) == 16);
static_assert(sizeof(RFC_TABLE) == 28 && offsetof(RFC_TABLE, newitab) == 24);
static_assert(sizeof(RFC_TYPE_ELEMENT) == 20);
#endif

namespace vaultgauge {

// The records under the names the sensor's code uses.
using RfcEnv = RFC_ENV;
using RfcOptions = RFC_OPTIONS;
using RfcHostOptions = RFC_CONNOPT_R3ONLY;
using RfcGatewayOptions = RFC_CONNOPT_CPIC;
using RfcParameter = RFC_PARAMETER;
using RfcTableEntry = RFC_TABLE;
using RfcTypeElement = RFC_TYPE_ELEMENT;
using RfcErrorInfo = RFC_ERROR_INFO;
using RfcErrorInfoEx = RFC_ERROR_INFO_EX;

}  // namespace vaultgauge

#endif  // VAULTGAUGE_RFC_RFC_ABI_H_
