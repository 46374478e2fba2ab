#pragma once
// Shared test helpers: a temporary directory, a recording run view, file helpers.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "formats/RunView.h"
#include "platform/Files.h"

// A fresh directory removed at the end of the test. Restores the current directory too.
class TTempDir {
 public:
  TTempDir() : Saved(GetCurrentDir()) {
    std::string Pattern = (std::filesystem::temp_directory_path() / "brindle-XXXXXX").string();
    Root = ::mkdtemp(Pattern.data());
  }
  ~TTempDir() {
    SetCurrentDir(Saved);
    std::error_code Ignored;
    std::filesystem::remove_all(Root, Ignored);
  }
  std::string Path(const std::string& Name = "") const {
    return Name.empty() ? Root : Root + "/" + Name;
  }

 private:
  std::string Saved;
  std::string Root;
};

// Records what the core shows; answers the directory chooser with a preset directory.
class TRecordingView : public TRunView {
 public:
  std::string ChosenDir;  // empty: the chooser is cancelled
  std::vector<std::string> Results, Messages, Shown;
  std::vector<int> Totals, Progresses;
  std::string Extracted = "Extracted: 0";
  bool StopEnabled = false, SaveEnabled = false;
  std::function<void()> OnProcessMessages;

  void SetCurrentMessage(const std::string& Text) override { Messages.push_back(Text); }
  void SetExtracted(const std::string& Text) override { Extracted = Text; }
  void SetProgress(int Position) override { Progresses.push_back(Position); }
  void SetTotal(int Position, int) override { Totals.push_back(Position); }
  void ClearResults() override { Results.clear(); }
  void AddResult(const std::string& Line) override { Results.push_back(Line); }
  void ProcessMessages() override {
    if (OnProcessMessages) OnProcessMessages();
  }
  void SetStopEnabled(bool Enabled) override { StopEnabled = Enabled; }
  void SetSaveResultsEnabled(bool Enabled) override { SaveEnabled = Enabled; }
  bool ChooseOutputDir(std::string& Dir) override {
    if (ChosenDir.empty()) return false;
    Dir = ChosenDir;
    return true;
  }
  void ShowMessage(const std::string& Text, const std::string& Caption) override {
    Shown.push_back(Caption + "|" + Text);
  }
};

inline void WriteFile(const std::string& Path, const std::string& Bytes) {
  WriteWholeFile(Path, Bytes);
}
inline std::string ReadFile(const std::string& Path) { return ReadWholeFile(Path); }
