#pragma once
// What a batch run and a replay drive on whatever shows them: the window, the console, or a
// test's recorder. The core calls these; it never reaches a window in any other way.

#include <string>

class TRunView {
 public:
  virtual ~TRunView() = default;
  // The status line (`CurrentMessage`).
  virtual void SetCurrentMessage(const std::string& Text) = 0;
  // The `Extracted` caption.
  virtual void SetExtracted(const std::string& Text) = 0;
  // The per-source bar `Progress`, 0 to 100.
  virtual void SetProgress(int Position) = 0;
  // The batch bar `Total`.
  virtual void SetTotal(int Position, int Maximum) = 0;
  // Empties the results pane.
  virtual void ClearResults() = 0;
  // Adds one line to the results pane.
  virtual void AddResult(const std::string& Line) = 0;
  // Lets pending window messages through (repaints, clicks).
  virtual void ProcessMessages() = 0;
  virtual void SetStopEnabled(bool Enabled) = 0;
  virtual void SetSaveResultsEnabled(bool Enabled) = 0;
  // Gives the keyboard focus to the results pane.
  virtual void FocusResults() {}
  // Asks for the output directory, starting at Dir; false when the user cancels.
  virtual bool ChooseOutputDir(std::string& Dir) = 0;
  // An information message box owned by the window.
  virtual void ShowMessage(const std::string& Text, const std::string& Caption) = 0;
};

// A view that shows nothing: for callers that only want the files.
class TNullRunView : public TRunView {
 public:
  void SetCurrentMessage(const std::string&) override {}
  void SetExtracted(const std::string&) override {}
  void SetProgress(int) override {}
  void SetTotal(int, int) override {}
  void ClearResults() override {}
  void AddResult(const std::string&) override {}
  void ProcessMessages() override {}
  void SetStopEnabled(bool) override {}
  void SetSaveResultsEnabled(bool) override {}
  bool ChooseOutputDir(std::string&) override { return false; }
  void ShowMessage(const std::string&, const std::string&) override {}
};
