// A timer of a form: its Timer event runs every Interval milliseconds while it is enabled and its
// form is loaded, whether the form is shown, hidden or disabled. A tick never runs inside another
// tick of the same timer, and no tick runs before the form's Form_Load has ended.
#pragma once

#include <functional>
#include <string>

namespace forms {

class Form;

class Timer {
 public:
  Timer(Form& owner, std::string name);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool Running() const { return inTick_; }

  std::function<void()> TimerEvent;  // the Timer event

  // --- for the form ---
  int Id() const { return id_; }
  void Start();  // (re)arms the native timer when the form can have one
  void Stop();
  void Tick();   // a native tick arrived

 private:
  Form& owner_;
  std::string name_;
  int id_;
  unsigned interval_ = 0;
  bool enabled_ = true;
  bool armed_ = false;
  bool inTick_ = false;
};

}  // namespace forms
