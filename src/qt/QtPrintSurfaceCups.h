#pragma once

#include <string>
#include <utility>
#include <vector>

namespace korval::qt {

// What the print system (CUPS) made of a job handed to it.
struct CupsSubmission {
  int JobId = 0;  // 0: no job was created
  bool Taken = false;
  // Why the job will not print, in the print system's words (the refusal,
  // the printer's state message, the job's state reasons); empty when taken.
  std::string Reason;
};

// The resolution a CUPS queue prints at unless told otherwise (its driver's
// default), in dots per inch across; 0 when the queue does not say.
int CupsDefaultResolution(const std::string& printer);

// Hands a finished document file to a CUPS queue under a title and checks at
// once that it will print: the submission's answer, then the new job's state
// (cancelled or aborted) and the printer's (stopped: the job would wait in
// the queue until someone starts the printer). Nothing here waits for the
// job to finish printing. The server is the one the process's CUPS settings
// name (CUPS_SERVER, client.conf).
CupsSubmission SubmitToCups(const std::string& printer, const std::string& file,
                            const std::string& title,
                            const std::vector<std::pair<std::string, std::string>>& options);

}  // namespace korval::qt
