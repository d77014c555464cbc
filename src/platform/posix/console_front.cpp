// The console front: shows each window of the program in the terminal, in
// UTF-8, and takes the user's answer as one line of standard input. The
// program's texts are code page 932; they are converted for display only.
#include <ctype.h>
#include <iconv.h>
#include <stdio.h>
#include <strings.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "console_text.h"
#include "layer.h"

namespace layer {

std::string ToTerminal(const char *text) {
  std::string in = text ? text : "";
  std::string out;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return in;
  std::vector<char> buffer(in.size() * 4 + 16);
  char *src = &in[0];
  size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char *dst = buffer.data();
    size_t dstLeft = buffer.size();
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer.data(), static_cast<size_t>(dst - buffer.data()));
    if (r == static_cast<size_t>(-1)) {
      // A byte that is no CP932 character is shown as '?'.
      out += '?';
      ++src;
      --srcLeft;
    }
  }
  iconv_close(cd);
  std::string shown;
  for (char c : out)
    if (c != '\r') shown += c;
  return shown;
}

bool ReadAnswerLine(std::string *line) {
  line->clear();
  int c;
  while ((c = getchar()) != EOF && c != '\n') *line += static_cast<char>(c);
  if (c == EOF && line->empty()) return false;
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

bool InputIsTerminal() {
  return isatty(STDIN_FILENO) != 0;
}

namespace {

struct Button {
  const char *label;
  int id;
};

std::vector<Button> ButtonsOf(UINT style) {
  switch (style & 0xF) {
    case MB_OKCANCEL:
      return {{"ok", IDOK}, {"cancel", IDCANCEL}};
    case MB_YESNO:
      return {{"yes", IDYES}, {"no", IDNO}};
    default:
      return {{"ok", IDOK}};
  }
}

const char *IconOf(UINT style) {
  switch (style & 0xF0) {
    case MB_ICONERROR:
      return " [error]";
    case MB_ICONQUESTION:
      return " [question]";
    case MB_ICONWARNING:
      return " [warning]";
    default:
      return "";
  }
}

// An answer names a button by its label or its first letter, in any case;
// an empty answer is Enter, which presses the default button, the first.
int Match(const std::string &answer, const std::vector<Button> &buttons) {
  if (answer.empty() && !buttons.empty()) return buttons.front().id;
  for (const Button &b : buttons) {
    if (strcasecmp(answer.c_str(), b.label) == 0) return b.id;
    if (answer.size() == 1 && tolower(static_cast<unsigned char>(answer[0])) == b.label[0]) return b.id;
  }
  return 0;
}

// Reads one answer; false at the end of input. A terminal gets a prompt;
// piped input is echoed so that a transcript reads as a conversation.
bool Ask(const std::string &prompt, std::string *answer) {
  printf("%s", prompt.c_str());
  fflush(stdout);
  if (!ReadAnswerLine(answer)) {
    printf("(end of input)\n");
    return false;
  }
  if (!InputIsTerminal()) printf("%s\n", answer->c_str());
  return true;
}

class ConsoleFront : public Front {
 public:
  int MessageBox(HWND, const char *text, const char *caption, UINT style) override {
    std::vector<Button> buttons = ButtonsOf(style);
    printf("\n== %s ==%s\n%s\n", ToTerminal(caption).c_str(), IconOf(style), ToTerminal(text).c_str());
    std::string choices;
    for (const Button &b : buttons) choices += (choices.empty() ? "" : " / ") + std::string(b.label);
    for (;;) {
      std::string answer;
      if (!Ask("[" + choices + "] > ", &answer)) return 0;  // as a box that could not be shown
      if (int id = Match(answer, buttons)) return id;
      printf("Please answer %s.\n", choices.c_str());
    }
  }

  int DialogCommand(const DialogView &view) override {
    printf("\n== %s == (dialog)\n", ToTerminal(view.title.c_str()).c_str());
    std::vector<Button> buttons;
    for (const DialogView::Control &c : view.controls) {
      if (c.id == IDOK) buttons.push_back({"run", c.id});
      if (c.id == IDCANCEL) buttons.push_back({"end", c.id});
      if (c.className == "EDIT") printf("  | %s |\n", ToTerminal(c.text.c_str()).c_str());
      if (c.id == 0xFFFF) printf("  %s\n", ToTerminal(c.text.c_str()).c_str());
    }
    std::string labels;
    for (const DialogView::Control &c : view.controls)
      if (c.id == IDOK || c.id == IDCANCEL)
        labels += "[" + ToTerminal(c.text.c_str()) + (c.id == IDOK ? " = run] " : " = end] ");
    printf("  %s\n", labels.c_str());
    for (;;) {
      std::string answer;
      if (!Ask("[run / end] > ", &answer)) return 0;  // as the close box
      if (int id = Match(answer, buttons)) return id;
      printf("Please answer run or end.\n");
    }
  }

  void DialogEnded(const DialogView &) override {}
  void DialogDestroyed(const DialogView &) override {}

  void BrowserOpened(const BrowserView &view) override {
    printf("\n== %s == (folder browser)\n", ToTerminal(view.title.c_str()).c_str());
  }

  // A typed folder is selected and OK pressed, which acts only while OK is
  // enabled; a name that is no folder is refused as an invalid name.
  BrowserStep NextBrowserStep(const BrowserView &view) override {
    printf("  selected: %s   OK: %s\n",
           view.selection.empty() ? "(none)" : ToTerminal(view.selection.c_str()).c_str(),
           view.okEnabled ? "enabled" : "disabled");
    std::string line;
    if (!Ask("folder (an empty line cancels) > ", &line) || line.empty()) return {BrowserStep::Cancel, ""};
    return {BrowserStep::Submit, line};
  }

  void BrowserClosed(const std::string &chosen) override {
    printf("  %s\n", chosen.empty() ? "(no folder)" : ("chosen: " + ToTerminal(chosen.c_str())).c_str());
  }
};

}  // namespace

Front &ConsoleFront() {
  static class ConsoleFront front;
  return front;
}

}  // namespace layer
