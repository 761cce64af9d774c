// The stand-in NetWeaver RFC library: simulates the SAP systems of the
// landscape file behind the entry points of SAP's NetWeaver RFC library that
// the sensor uses. It checks what it is handed (UTF-16 texts, parameter and
// field names, handles) and fails the call with an error record rather than
// touching memory it should not: handles are numbers it looks up, never
// addresses it follows. The exported C functions forward to one instance;
// tests make their own.
//
// Where SAP's library is not known for certain, the stand-in chooses:
// - parameter names of the logon are taken in any letter case; an unknown
//   or repeated name is refused (RFC_INVALID_PARAMETER); DEST is refused, as
//   there is no sapnwrfc.ini here;
// - GWHOST and GWSERV address a system for a logon without ASHOST;
// - function, structure, table and field names must be upper case;
// - RfcGetString keeps the trailing blanks of character fields, gives packed
//   numbers as "-123" (no leading zeros, a minus for sign nibble D only) and
//   fails with RFC_CONVERSION_FAILURE on a digit nibble above 9;
// - RfcMoveTo beyond the last row gives RFC_TABLE_MOVE_EOF;
// - every entry point accepts a null error record;
// - RfcGetVersion gives 7500.0.0 and the text "7500.0.0 Vaultgauge stand-in".
#ifndef VAULTGAUGE_STANDIN_NWRFC_STANDIN_H_
#define VAULTGAUGE_STANDIN_NWRFC_STANDIN_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rfc/nwrfc_api.h"
#include "standin/landscape.h"
#include "standin/landscape_cache.h"
#include "standin/structures.h"

namespace vaultgauge::standin {

class NwrfcStandin : public NwRfcApi {
 public:
  // `folder` is where the landscape file and the journal lie: empty for the
  // working folder, else ending with a separator.
  explicit NwrfcStandin(std::string folder = std::string());

  const nwrfc::SAP_UC* GetVersion(unsigned* major, unsigned* minor, unsigned* patch) override;
  nwrfc::RFC_CONNECTION_HANDLE OpenConnection(const nwrfc::RFC_CONNECTION_PARAMETER* parameters,
                                              unsigned count,
                                              nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC CloseConnection(nwrfc::RFC_CONNECTION_HANDLE connection,
                                nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_FUNCTION_DESC_HANDLE GetFunctionDesc(nwrfc::RFC_CONNECTION_HANDLE connection,
                                                  const nwrfc::SAP_UC* name,
                                                  nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_FUNCTION_HANDLE CreateFunction(nwrfc::RFC_FUNCTION_DESC_HANDLE description,
                                            nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC DestroyFunction(nwrfc::RFC_FUNCTION_HANDLE function,
                                nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC Invoke(nwrfc::RFC_CONNECTION_HANDLE connection, nwrfc::RFC_FUNCTION_HANDLE function,
                       nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetStructure(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                             nwrfc::RFC_STRUCTURE_HANDLE* structure,
                             nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetTable(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                         nwrfc::RFC_TABLE_HANDLE* table, nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetRowCount(nwrfc::RFC_TABLE_HANDLE table, unsigned* count,
                            nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC MoveTo(nwrfc::RFC_TABLE_HANDLE table, unsigned index,
                       nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_STRUCTURE_HANDLE GetCurrentRow(nwrfc::RFC_TABLE_HANDLE table,
                                            nwrfc::RFC_ERROR_INFO* error) override;
  nwrfc::RFC_RC GetString(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                          nwrfc::SAP_UC* buffer, unsigned buffer_length, unsigned* length,
                          nwrfc::RFC_ERROR_INFO* error) override;

  size_t open_connections() const { return connections_.size(); }
  // Functions and the structures, tables and rows taken from them.
  size_t live_containers() const { return containers_.size(); }

 private:
  struct Connection {
    unsigned number;  // as the journal counts connections
    std::shared_ptr<const SapSystem> system;
  };
  struct Description {
    std::string module;
    std::shared_ptr<const SapSystem> system;
  };
  // The data of one function: filled by RfcInvoke.
  struct Function {
    std::string module;
    std::shared_ptr<const SapSystem> system;
    std::string handler_text;  // a failure waiting for the first data access
    std::string rfcsi;
    std::string date_time;          // DATETIME: the date, then the time
    std::vector<std::string> rows;  // TABLE_XPC rows of TS
    int64_t rows_after_first_pass = -1;
    bool last_row_read = false;
    bool first_pass_over = false;
    int64_t cursor = -1;
    uint64_t table = 0;  // the container of TS, once taken
    // The container of each row of TS once taken (0: not yet): a row read
    // twice is handed the same handle rather than a new one per read.
    std::vector<uint64_t> row_handles;
  };
  enum class Kind { kFunction, kStructure, kTable, kRow };
  struct Container {
    Kind kind;
    uint64_t function;  // the function it belongs to (itself for a function)
    Function* owner;    // that function's data: it lives as long as the container
    std::string name;   // the parameter's name for a structure
    size_t row = 0;     // for a row
  };

  uint64_t NewId() { return next_id_++; }
  Connection* FindConnection(nwrfc::RFC_CONNECTION_HANDLE handle);
  Container* FindContainer(const void* handle);
  Function* FunctionOf(const Container& container);
  // Journal.
  const Landscape* LoadLandscape(std::string* message);
  void Note(const std::string& line) const;
  // Ends a connection the library drops after a failure.
  void Drop(uint64_t id, const char* reason);
  std::string ConnectionStatus(uint64_t id) const;

  // Fills `error` and gives `code`.
  nwrfc::RFC_RC Fail(nwrfc::RFC_ERROR_INFO* error, nwrfc::RFC_RC code, int group,
                     const std::string& key, const std::string& message);
  // A failure the library raises itself: its key is the result code's name.
  nwrfc::RFC_RC Own(nwrfc::RFC_ERROR_INFO* error, nwrfc::RFC_RC code, const std::string& message);
  // The function of the function handle `container` and the parameter name
  // `name` (`what` names it for messages), or null with `result` and `error` set.
  Function* ParameterOf(nwrfc::DATA_CONTAINER_HANDLE container, const nwrfc::SAP_UC* name,
                        const char* what, std::string* parameter, nwrfc::RFC_RC* result,
                        nwrfc::RFC_ERROR_INFO* error);
  // The UTF-16 name or value at `text`, as UTF-8, or a failure record.
  bool ReadText(const nwrfc::SAP_UC* text, size_t limit, const char* what, std::string* utf8,
                nwrfc::RFC_ERROR_INFO* error);
  // A failure of the simulated function (call or receive faults).
  nwrfc::RFC_RC FaultOf(const CallFault& fault, const std::string& module, const char* operation,
                        uint64_t connection, nwrfc::RFC_ERROR_INFO* error);
  // The rows TS has now, as ItFill counts them in the classic library.
  size_t RowCount(Function& function);
  // The text of field `name` of the record `record` laid out as `fields`.
  nwrfc::RFC_RC FieldText(const FieldIndex& fields, std::string_view record, std::string_view name,
                          std::u16string* text, nwrfc::RFC_ERROR_INFO* error);
  nwrfc::RFC_RC ValueText(Container& container, std::string_view name, std::u16string* text,
                          nwrfc::RFC_ERROR_INFO* error);
  // A child container of `function`: a structure, the table, a row.
  void* Child(uint64_t function, Function* owner, Kind kind, std::string_view name, size_t row);

  std::string folder_;
  LandscapeCache landscape_;
  std::string journal_;  // the journal's path; empty: none
  uint64_t next_id_ = 1;
  unsigned next_connection_number_ = 1;
  std::map<uint64_t, Connection> connections_;
  std::map<uint64_t, unsigned> closed_;  // connections that were open once
  std::map<uint64_t, Description> descriptions_;
  std::map<std::string, uint64_t> description_ids_;  // by system and module
  // By id, ascending: ids only grow, so a new container is appended. Every
  // field read looks its container up; most read the one found last.
  std::vector<std::pair<uint64_t, Container>> containers_;
  size_t last_found_ = 0;  // the position in `containers_` found last
  std::map<uint64_t, Function> functions_;
  std::u16string text_;  // RfcGetString's text, kept: a field read allocates nothing
};

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_NWRFC_STANDIN_H_
