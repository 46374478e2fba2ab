#include "cli/ConsoleView.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "formats/RunContext.h"
#include "platform/Files.h"

namespace {
volatile std::sig_atomic_t Interrupted = 0;
extern "C" void OnInterrupt(int) { Interrupted = 1; }
}  // namespace

TConsoleView::TConsoleView(std::string OutputDir) : OutputDir(std::move(OutputDir)) {
  Terminal = ::isatty(STDERR_FILENO) != 0;
  std::signal(SIGINT, OnInterrupt);
}

TConsoleView::~TConsoleView() {
  ClearLine();
  std::signal(SIGINT, SIG_DFL);
}

void TConsoleView::SetCurrentMessage(const std::string& Text) {
  Message = Text;
  Redraw();
}
void TConsoleView::SetExtracted(const std::string& Text) {
  ExtractedText = Text;
  Redraw();
}
void TConsoleView::SetProgress(int Position) {
  ProgressValue = Position;
  Redraw();
}
void TConsoleView::SetTotal(int Position, int) {
  TotalValue = Position;
  Redraw();
}

void TConsoleView::AddResult(const std::string& Line) {
  ClearLine();
  std::fwrite(Line.data(), 1, Line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void TConsoleView::ProcessMessages() {
  if (Interrupted && Context && !Context->StopRequested) {
    Context->StopRequested = true;
    ClearLine();
    std::fputs("Stopping after the step in progress...\n", stderr);
  }
}

bool TConsoleView::ChooseOutputDir(std::string& Dir) {
  if (!ForceDirectories(OutputDir)) {
    std::fprintf(stderr, "brindlecast-cli: cannot create the output directory %s\n",
                 OutputDir.c_str());
    return false;
  }
  Dir = OutputDir;
  return true;
}

void TConsoleView::ShowMessage(const std::string& Text, const std::string&) {
  ClearLine();
  if (Terminal) std::fprintf(stderr, "%s\n", Text.c_str());
}

void TConsoleView::Redraw() {
  if (!Terminal || Message.empty()) return;
  std::fprintf(stderr, "\r\033[K[%3d%%] %s %s", TotalValue, Message.c_str(), ExtractedText.c_str());
  std::fflush(stderr);
  LineShown = true;
}

void TConsoleView::ClearLine() {
  if (!LineShown) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  LineShown = false;
}
