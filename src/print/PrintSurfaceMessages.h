#pragma once

#include <string>

namespace korval {

// What a print surface tells the person when a job cannot be printed; every
// platform's surface says the same.
inline constexpr const char* kNoPrintersMessage = "No printers are defined, aborting print job.";
inline constexpr const char* kPrintErrorCaption = "Chyba";

// The job could not be opened on the printer.
inline std::string JobNotStartedMessage(const std::string& printer) {
  return "Tisk na tiskárnu " + printer + " nelze zahájit.";
}

// The print system did not take the finished job, for the reason it gave.
inline std::string JobRejectedMessage(const std::string& printer, const std::string& reason) {
  return "Tiskárna " + printer + " úlohu nepřijala: " + reason;
}

}  // namespace korval
