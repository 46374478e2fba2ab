#pragma once
// The command-line tool's face for a run: results lines on standard output, a progress line on
// standard error when it is a terminal, and Ctrl-C as the Stop button.

#include <string>

#include "formats/RunView.h"

class TRunContext;

class TConsoleView : public TRunView {
 public:
  // OutputDir is what the directory chooser answers.
  explicit TConsoleView(std::string OutputDir);
  ~TConsoleView() override;

  void Attach(TRunContext& Run) { Context = &Run; }

  void SetCurrentMessage(const std::string& Text) override;
  void SetExtracted(const std::string& Text) override;
  void SetProgress(int Position) override;
  void SetTotal(int Position, int Maximum) override;
  void ClearResults() override {}
  void AddResult(const std::string& Line) override;
  void ProcessMessages() override;
  void SetStopEnabled(bool) override {}
  void SetSaveResultsEnabled(bool) override {}
  bool ChooseOutputDir(std::string& Dir) override;
  void ShowMessage(const std::string& Text, const std::string& Caption) override;

 private:
  void Redraw();
  void ClearLine();
  std::string OutputDir;
  TRunContext* Context = nullptr;
  bool Terminal;
  std::string Message, ExtractedText;
  int ProgressValue = 0, TotalValue = 0;
  bool LineShown = false;
};
