#include "formats/RunContext.h"

void TRunContext::AddResult(const std::string& Line) {
  Results.push_back(Line);
  View->AddResult(Line);
}

void TRunContext::ReportProgress(int Value) {
  if (Value == ProgressPosition) return;
  ProgressPosition = Value;
  View->SetProgress(Value);
  View->ProcessMessages();
}

void TRunContext::NoteFileWritten(std::int64_t Bytes) {
  ++FilesExtracted;
  BytesExtracted += Bytes;
  View->SetExtracted("Extracted: " + std::to_string(FilesExtracted));
}

void TRunContext::BeginRun() {
  FilesExtracted = 0;
  BytesExtracted = 0;
  StopRequested = false;
  CutShort.clear();
  NamesInRun.clear();
}
