#pragma once
// What the sample view needs of the program around it. The application
// object implements it; the view finds it as the running application.
#include <string>

#include "framework/Framework.h"

class ViewHost {
 public:
  // Where the display settings and the update check's date are kept.
  virtual fw::ProfileStore& Profile() const = 0;
  // The caption of the view's message boxes.
  virtual const std::string& Title() const = 0;
  // Folder of the program file, upper case, no trailing backslash.
  virtual const std::string& InstallFolder() const = 0;
  // The frame's text input bar; null until the frame has made its bars.
  virtual fw::CDialogBar* TextBar() const = 0;

 protected:
  ~ViewHost() = default;
};

// The running application as the view's host.
ViewHost& TheViewHost();
