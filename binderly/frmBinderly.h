// The Binderly window: a path box, Browse, Register, Unregister and Close.
// The message boxes and the file chooser are seams, so that a test can drive
// the window through its callbacks without a person at the screen.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "binderly/modBinderly.h"

class Fl_Box;
class Fl_Button;
class Fl_Double_Window;
class Fl_Input;

namespace binderly {

enum class BoxKind { Information, Critical };

struct WindowSeams {
  // Shows a message box titled "Binderly"; by default a modal FLTK box.
  std::function<void(BoxKind, const std::string&)> message_box;
  // The file-open dialog; by default GetOpenFileName.
  std::function<std::string(const std::vector<std::string>&, const std::string&)> choose_file;
  std::chrono::milliseconds timeout = kServerTimeout;
};

// The file-open dialog's starting directory, shared by the whole program.
std::string& InitialDirectory();

// The text of the box shown when the window closes.
std::string CreditsText();

class frmBinderly {
 public:
  // Builds the window (its load event).
  explicit frmBinderly(WindowSeams seams = {});
  ~frmBinderly();
  frmBinderly(const frmBinderly&) = delete;
  frmBinderly& operator=(const frmBinderly&) = delete;

  void Show();
  bool Busy() const { return busy_; }

  // The controls, in their order of creation.
  Fl_Double_Window* window = nullptr;
  Fl_Button* cmdClose = nullptr;
  Fl_Button* cmdUnregister = nullptr;
  Fl_Button* cmdRegister = nullptr;
  Fl_Button* cmdBrowse = nullptr;
  Fl_Input* txtPath = nullptr;
  Fl_Box* Label2 = nullptr;
  Fl_Box* Label1 = nullptr;

 private:
  void Browse();
  void Attempt(bool registering);
  void Unload();
  void SetBusy(bool busy);

  WindowSeams seams_;
  bool busy_ = false;
};

}  // namespace binderly
