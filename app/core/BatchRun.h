#pragma once
// The batch run behind Process: asks for the output directory, hands every source of the list
// to its handler, builds the result log and saves it as "result.log" in the output directory.
// Also Stop and Save results, which belong to a run.

#include <functional>
#include <string>

#include "app/core/SourceList.h"
#include "formats/RunContext.h"

class TBatchRun {
 public:
  using TProcessSource = std::function<void(TSourceFormat, const std::string&)>;

  explicit TBatchRun(TRunContext& Run);

  // The operation the run hands each source to; bound to DispatchSource at creation.
  TProcessSource ProcessSource;

  // The run over List. Errors from a handler or from saving "result.log" leave it at once
  // (the caller shows them); the labels and bars then keep their last values.
  void Execute(TSourceList& List);
  // Runs one source's handler, enabling Stop while it runs.
  void DispatchSource(TSourceFormat Format, const std::string& Path);
  // Stop: disables the button and asks the run to end after the source in progress.
  void Stop();
  // Writes the results pane's lines as plain text (CR LF after each). Throws EFCreateError.
  void SaveResults(const std::string& Path);

  bool Running() const { return IsRunning; }
  TRunContext& Context() { return Run; }

 private:
  TRunContext& Run;
  bool IsRunning = false;
};
