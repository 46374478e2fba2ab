#pragma once
// The state that the batch run, the replay and the format handlers share for one window:
// the output directory, the result log being built, the log being replayed and the source
// the replay found for the current block.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formats/RunView.h"
#include "include/SharedConstants.h"
#include "platform/Streams.h"
#include "platform/StringList.h"

class TRunContext {
 public:
  explicit TRunContext(TRunView& View) : View(&View) {}

  TRunView* View;

  // The output directory of the current or last run.
  std::string OutputDir;
  // The result log being built by an extraction run.
  TStringList ResultList;
  // The log being replayed.
  TStringList ReplayList;
  // The source the replay found for the current block, and a stream held open on it.
  std::string TargetPath;
  std::unique_ptr<TFileStream> TargetStream;
  // The replay's format in force.
  TSourceFormat ReplayFormat = sfUnknown;

  // The results pane's lines since the run emptied it.
  std::vector<std::string> Results;
  // Bar positions as last shown.
  int ProgressPosition = 0;
  int TotalPosition = 0;

  // Counters of one run: files and bytes the handlers wrote.
  std::int64_t FilesExtracted = 0;
  std::int64_t BytesExtracted = 0;
  // Set by Stop; the run and the replay end after the step in progress.
  bool StopRequested = false;
  // Set by a replay that Stop ended before its log's last line: where it stopped.
  std::string CutShort;
  // Output names already given out in this run (base name -> how many sources used it), so
  // two sources never write over each other's files.
  std::map<std::string, int> NamesInRun;

  // Adds a line to the results pane.
  void AddResult(const std::string& Line);
  // Moves `Progress` to Value when it shows another value, then lets messages through.
  void ReportProgress(int Value);
  // Counts a file a handler has written and shows the count in `Extracted`.
  void NoteFileWritten(std::int64_t Bytes);
  // Closes `TargetStream` if it is open.
  void ReleaseTarget() { TargetStream.reset(); }
  // Empties the per-run state at the start of a run.
  void BeginRun();
};
