#include "qt/QtPrintSurfaceCups.h"

#include <cups/cups.h>

#include <memory>

namespace korval::qt {
namespace {

struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppPtr = std::unique_ptr<ipp_t, IppDeleter>;

std::string PrinterUri(const std::string& printer) {
  char uri[1024];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", printer.c_str());
  return uri;
}

// The attributes asked for, of the printer or (with a job id) of one job.
IppPtr Ask(const std::string& printer, int jobId, const std::vector<const char*>& wanted) {
  ipp_t* request =
      ippNewRequest(jobId > 0 ? IPP_OP_GET_JOB_ATTRIBUTES : IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
               PrinterUri(printer).c_str());
  if (jobId > 0) ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(wanted.size()), nullptr, wanted.data());
  IppPtr response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
  if (response && ippGetStatusCode(response.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
    response.reset();
  return response;
}

int Integer(ipp_t* ipp, const char* name) {
  ipp_attribute_t* attribute = ippFindAttribute(ipp, name, IPP_TAG_ZERO);
  return attribute != nullptr ? ippGetInteger(attribute, 0) : 0;
}

// The values of a text or keyword attribute joined by ", "; "none" is left
// out, as it says nothing.
std::string Text(ipp_t* ipp, const char* name) {
  ipp_attribute_t* attribute = ippFindAttribute(ipp, name, IPP_TAG_ZERO);
  std::string text;
  for (int i = 0; attribute != nullptr && i < ippGetCount(attribute); ++i) {
    const char* value = ippGetString(attribute, i, nullptr);
    if (value == nullptr || *value == 0 || std::string(value) == "none") continue;
    text += (text.empty() ? "" : ", ") + std::string(value);
  }
  return text;
}

void Append(std::string& reason, const std::string& more) {
  if (more.empty() || reason.find(more) != std::string::npos) return;
  reason += (reason.empty() ? "" : " (") + more + (reason.empty() ? "" : ")");
}

}  // namespace

int CupsDefaultResolution(const std::string& printer) {
  const IppPtr answer = Ask(printer, 0, {"printer-resolution-default"});
  if (!answer) return 0;
  ipp_attribute_t* attribute =
      ippFindAttribute(answer.get(), "printer-resolution-default", IPP_TAG_RESOLUTION);
  if (attribute == nullptr) return 0;
  int yres = 0;
  ipp_res_t units = IPP_RES_PER_INCH;
  const int xres = ippGetResolution(attribute, 0, &yres, &units);
  return units == IPP_RES_PER_CM ? static_cast<int>(xres * 2.54 + 0.5) : xres;
}

CupsSubmission SubmitToCups(const std::string& printer, const std::string& file,
                            const std::string& title,
                            const std::vector<std::pair<std::string, std::string>>& options) {
  cups_option_t* list = nullptr;
  int count = 0;
  for (const auto& [name, value] : options)
    count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
  CupsSubmission result;
  result.JobId =
      cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.c_str(), file.c_str(), title.c_str(), count, list);
  cupsFreeOptions(count, list);
  const std::string refusal = result.JobId == 0 ? cupsLastErrorString() : std::string();

  const IppPtr state =
      Ask(printer, 0, {"printer-state", "printer-state-message", "printer-state-reasons"});
  const bool stopped = state && Integer(state.get(), "printer-state") == IPP_PSTATE_STOPPED;
  const std::string printerSays = state ? Text(state.get(), "printer-state-message") : "";
  if (result.JobId == 0) {
    // A printer that is gone says so to the question about its state more
    // plainly than the failed submission does.
    result.Reason = state ? refusal : cupsLastErrorString();
    if (!state) Append(result.Reason, refusal);
    Append(result.Reason, printerSays);
    return result;
  }

  if (const IppPtr job = Ask(printer, result.JobId,
                             {"job-state", "job-state-reasons", "job-printer-state-message"})) {
    const int jobState = Integer(job.get(), "job-state");
    if (jobState == IPP_JSTATE_CANCELED || jobState == IPP_JSTATE_ABORTED ||
        jobState == IPP_JSTATE_HELD) {
      result.Reason = jobState == IPP_JSTATE_HELD ? "job held" : "job stopped by the print system";
      Append(result.Reason, Text(job.get(), "job-printer-state-message"));
      Append(result.Reason, Text(job.get(), "job-state-reasons"));
      // Reported as not printed, the job must not print later either: the
      // clerk prints again, and the labels would come out twice.
      if (jobState == IPP_JSTATE_HELD)
        cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.c_str(), result.JobId, 0);
      return result;
    }
  }
  if (stopped) {
    result.Reason = "printer stopped";
    Append(result.Reason,
           printerSays.empty() ? Text(state.get(), "printer-state-reasons") : printerSays);
    cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.c_str(), result.JobId, 0);
    result.Reason += "; the job was cancelled";
    return result;
  }
  result.Taken = true;
  return result;
}

}  // namespace korval::qt
