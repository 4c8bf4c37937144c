// The start-up form: the program's first object. It loads and shows the main window and unloads
// itself within its own load, so it is never seen.
#pragma once

#include "forms/forms.h"

class Form3000 : public forms::Form {
 public:
  Form3000() : Form("Form3000") {}

 protected:
  void Form_Load() override;
};
