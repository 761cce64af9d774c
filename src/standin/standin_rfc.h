// The stand-in RFC library: simulates the SAP systems of the landscape file
// behind the twelve operations of the classic RFC library. The exported C
// functions forward to one instance; tests make their own.
#ifndef VAULTGAUGE_STANDIN_STANDIN_RFC_H_
#define VAULTGAUGE_STANDIN_STANDIN_RFC_H_

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rfc/rfc_abi.h"
#include "standin/landscape.h"
#include "standin/landscape_cache.h"
#include "standin/structures.h"

namespace vaultgauge::standin {

inline constexpr char kTraceFileName[] = "Dev_Rfc.Trc";

class StandinRfc {
 public:
  // `folder` is where the landscape file, "SapRfc.ini" and the trace file
  // lie: empty for the working folder, else ending with a separator.
  explicit StandinRfc(std::string folder = std::string())
      : folder_(std::move(folder)), landscape_(folder_ + kLandscapeFileName) {}
  StandinRfc(const StandinRfc&) = delete;
  StandinRfc& operator=(const StandinRfc&) = delete;

  void Environment(RFC_ENV* env);
  RFC_HANDLE Open(RFC_OPTIONS* options);
  RFC_HANDLE OpenEx(const char* connect_string, RFC_ERROR_INFO_EX* error_info);
  RFC_RC InstallStructure(const char* name, RFC_TYPE_ELEMENT* elements, unsigned count,
                          RFC_TYPEHANDLE* type);
  RFC_RC Call(RFC_HANDLE handle, const char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);
  RFC_RC Receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception);
  int LastError(RFC_ERROR_INFO* info);
  void Close(RFC_HANDLE handle);
  ITAB_H ItCreate(const char* name, unsigned row_length, unsigned occu, unsigned memo);
  unsigned ItFill(ITAB_H table);
  void* ItGetLine(ITAB_H table, unsigned line);
  int ItDelete(ITAB_H table);

  size_t open_connections() const { return connections_.size(); }
  size_t installed_types() const { return types_.size(); }

 private:
  struct Connection {
    std::shared_ptr<const SapSystem> system;
    std::string pending_function;  // called, not yet received
  };
  struct InstalledType {
    std::string name;
    std::vector<FieldLayout> layout;
  };
  struct Table {
    unsigned row_length = 0;
    std::vector<std::unique_ptr<char[]>> rows;
    // A row count to take once the first reading pass is over; -1: none.
    int64_t rows_after_first_pass = -1;
    bool last_row_read = false;
    bool first_pass_over = false;
  };
  // A parameter or table that a function module's interface expects.
  struct ExpectedParameter {
    const char* name;
    unsigned type;                                  // the scalar type code
    const std::vector<FieldDefinition>* structure;  // or the structure
    unsigned length;
  };
  // A function module's interface as the stand-in checks a call against it.
  struct FunctionInterface {
    const char* name;
    std::vector<ExpectedParameter> importing;
    std::vector<ExpectedParameter> tables;
  };

  // Opens a connection to `system` (found by the caller, null when none was)
  // after the logon checks; `where` names the address for messages.
  RFC_HANDLE Connect(SapSystem* system, const std::string& where, std::string_view client,
                     std::string_view user, std::string_view password, std::string* key,
                     std::string* message);
  const Landscape* LoadLandscape(std::string* message);
  // Appends a line to the journal the landscape asks for, if any.
  void Note(const std::string& line) const;
  void NoteOpening(RFC_HANDLE handle) const;
  void Drop(RFC_HANDLE handle);

  // Records a failure: the last error and a section of the trace file.
  void Fail(const char* operation, RFC_HANDLE handle, std::string key, std::string message);
  const Faults* CurrentFaults() const;

  const InstalledType* FindType(RFC_TYPEHANDLE type) const;
  Table* FindTable(ITAB_H table);
  static const FunctionInterface* FindFunction(std::string_view name);
  // Checks a parameter or table list against `specs`; the message says what is wrong.
  bool CheckParameters(const RFC_PARAMETER* list, const std::vector<ExpectedParameter>& specs,
                       std::string* message) const;
  bool CheckTables(const RFC_TABLE* list, const std::vector<ExpectedParameter>& specs,
                   std::string* message) const;
  template <typename Entry, typename EntryCheck>
  bool CheckList(const Entry* list, const std::vector<ExpectedParameter>& specs, EntryCheck check,
                 std::string* message) const;
  bool MatchesSpec(RFC_TYPEHANDLE type, unsigned length, const ExpectedParameter& expected,
                   std::string* message) const;
  void Answer(const Connection& connection, const FunctionInterface& function,
              RFC_PARAMETER* importing, RFC_TABLE* tables);

  std::string folder_;
  RFC_ERROR_HANDLER handler_ = nullptr;
  LandscapeCache landscape_;
  std::string journal_;  // the journal's path; empty: none
  std::map<RFC_HANDLE, Connection> connections_;
  RFC_HANDLE next_handle_ = 1;
  // The system of the latest opening: its faults apply to the operations
  // that take no connection (structures and tables).
  std::shared_ptr<const SapSystem> latest_system_;
  std::vector<InstalledType> types_;
  std::map<const void*, std::unique_ptr<Table>> tables_;
  bool has_error_ = false;
  RFC_ERROR_INFO last_error_{};
  std::string exception_;        // handed out by RfcReceive
  char handler_text_[256] = {};  // handed to the error handler
};

}  // namespace vaultgauge::standin

#endif  // VAULTGAUGE_STANDIN_STANDIN_RFC_H_
