#include "test_control.h"

#include <deque>

#include "layer.h"

namespace testctl {
namespace {

struct FaultRule {
  std::string name;
  std::string pathPart;
  int nth;
  DWORD error;
  int seen;
};

// One entry of the script: an answer, or a step in the folder browser.
struct Entry {
  bool isAnswer;
  int answer;
  layer::BrowserStep step;
};

struct State {
  std::deque<Entry> script;
  std::vector<std::string> scriptErrors;
  std::vector<Window> transcript;
  std::vector<std::string> debug;
  std::vector<Call> calls;
  std::vector<FaultRule> faults;
  bool hasModulePath = false;
  std::string modulePath;
  bool hasFreeSpace = false;
  uint64_t freeSpace = 0;
};

State &S() {
  static State state;
  return state;
}

int TakeAnswer(int whenMissing, const char *window, bool quiet) {
  std::deque<Entry> &script = S().script;
  if (!script.empty() && script.front().isAnswer) {
    int answer = script.front().answer;
    script.pop_front();
    return answer;
  }
  if (!script.empty() && !quiet) S().scriptErrors.push_back(std::string(window) + " found a browser step");
  return whenMissing;
}

int LiveOpen() {
  return layer::OpenHandleCount();
}

std::string ControlText(const layer::DialogView &view, int id) {
  for (const layer::DialogView::Control &c : view.controls)
    if (c.id == id) return c.text;
  return std::string();
}

void Record(const char *kind, const layer::DialogView &view, int answer) {
  S().transcript.push_back(
      {kind, nullptr, view.title, ControlText(view, 1001), 0, answer, LiveOpen(), ControlText(view, 0xFFFF)});
}

class ScriptedFront : public layer::Front {
 public:
  int MessageBox(HWND owner, const char *text, const char *caption, UINT style) override {
    bool okOnly = (style & 0xF) == MB_OK;
    int answer = TakeAnswer(okOnly ? IDOK : 0, "a message box", okOnly);
    S().transcript.push_back({"MessageBox", owner, caption, text, style, answer, LiveOpen(), ""});
    return answer;
  }

  int DialogCommand(const layer::DialogView &view) override {
    int command = TakeAnswer(0, "the dialog", false);
    Record("Dialog", view, command);
    return command;
  }

  void DialogEnded(const layer::DialogView &view) override { Record("DialogEnded", view, 0); }
  void DialogDestroyed(const layer::DialogView &view) override { Record("DialogDestroyed", view, 0); }

  void BrowserOpened(const layer::BrowserView &view) override {
    S().transcript.push_back({"Browser", nullptr, view.title, "", 0, 0, LiveOpen(), ""});
  }

  layer::BrowserStep NextBrowserStep(const layer::BrowserView &) override {
    std::deque<Entry> &script = S().script;
    if (script.empty() || script.front().isAnswer) {
      if (!script.empty()) S().scriptErrors.push_back("the browser found an answer");
      return {layer::BrowserStep::Cancel, ""};
    }
    layer::BrowserStep step = script.front().step;
    script.pop_front();
    return step;
  }

  void BrowserClosed(const std::string &chosen) override {
    S().transcript.push_back({"BrowserClosed", nullptr, "", chosen, 0, 0, LiveOpen(), ""});
  }
};

void Queue(layer::BrowserStep::Kind kind, const std::string &text = "") {
  S().script.push_back({false, 0, {kind, text}});
}

class Observer : public layer::Observer {
 public:
  void Called(const char *name, const std::string &path, std::initializer_list<uint64_t> args) override {
    S().calls.push_back({name, path, std::vector<uint64_t>(args)});
  }

  bool ShouldFail(const char *name, const std::string &path, DWORD *error) override {
    for (FaultRule &rule : S().faults) {
      if (rule.name != name || path.find(rule.pathPart) == std::string::npos) continue;
      ++rule.seen;
      if (rule.nth == 0 || rule.nth == rule.seen) {
        *error = rule.error;
        return true;
      }
    }
    return false;
  }

  void DebugText(const char *text) override { S().debug.push_back(text); }

  bool ModulePath(std::string *path) override {
    if (S().hasModulePath) *path = S().modulePath;
    return S().hasModulePath;
  }

  bool FreeSpace(uint64_t *bytes) override {
    if (S().hasFreeSpace) *bytes = S().freeSpace;
    return S().hasFreeSpace;
  }
};

ScriptedFront scriptedFront;
Observer observer;

}  // namespace

void Reset() {
  layer::CloseAllHandles();
  layer::ResetWindows();
  S() = State();
  layer::SetFront(&scriptedFront);
  layer::SetObserver(&observer);
}

void Answer(int answer) {
  S().script.push_back({true, answer, {layer::BrowserStep::Cancel, ""}});
}
void BrowserSelect(const std::string &folder) {
  Queue(layer::BrowserStep::Select, folder);
}
void BrowserSelectVirtual() {
  Queue(layer::BrowserStep::SelectVirtual);
}
void BrowserType(const std::string &text) {
  Queue(layer::BrowserStep::Type, text);
}
void BrowserOk() {
  Queue(layer::BrowserStep::Ok);
}
void BrowserCancel() {
  Queue(layer::BrowserStep::Cancel);
}
const std::vector<std::string> &ScriptErrors() {
  return S().scriptErrors;
}

const std::vector<Window> &Transcript() {
  return S().transcript;
}

std::vector<std::string> TranscriptKinds() {
  std::vector<std::string> kinds;
  for (const Window &w : S().transcript) kinds.push_back(w.kind);
  return kinds;
}
const std::vector<std::string> &DebugOutput() {
  return S().debug;
}
const std::vector<Call> &Calls() {
  return S().calls;
}

std::vector<Call> CallsNamed(const std::string &name) {
  std::vector<Call> named;
  for (const Call &call : S().calls)
    if (call.name == name) named.push_back(call);
  return named;
}

void Fail(const std::string &name, const std::string &pathPart, int nth, DWORD error) {
  S().faults.push_back({name, pathPart, nth, error, 0});
}

void SetModulePath(const std::string &path) {
  S().hasModulePath = true;
  S().modulePath = path;
}

void SetFreeSpace(uint64_t bytes) {
  S().hasFreeSpace = true;
  S().freeSpace = bytes;
}

HWND CreateWindowWithProcedure(WNDPROC procedure) {
  return layer::CreateWindowWithProcedure(procedure);
}

bool PostMessageTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return layer::PostToQueue(window, message, wParam, lParam);
}

int OpenHandles() {
  return layer::OpenHandleCount() + layer::LiveItemCount();
}

}  // namespace testctl
