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

struct State {
  std::deque<int> answers;
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

int TakeAnswer(int whenEmpty) {
  if (S().answers.empty()) return whenEmpty;
  int answer = S().answers.front();
  S().answers.pop_front();
  return answer;
}

class ScriptedFront : public layer::Front {
 public:
  int MessageBox(HWND owner, const char *text, const char *caption, UINT style) override {
    bool okOnly = (style & 0xF) == MB_OK;
    int answer = TakeAnswer(okOnly ? IDOK : 0);
    S().transcript.push_back({"MessageBox", owner, caption, text, style, answer, layer::OpenHandleCount()});
    return answer;
  }
};

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
  S().answers.push_back(answer);
}

const std::vector<Window> &Transcript() {
  return S().transcript;
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
  return layer::OpenHandleCount();
}

}  // namespace testctl
