#include "forms/timer.h"

#include <windows.h>

#include "forms/form.h"

namespace forms {

Timer::Timer(Form& owner, std::string name) : owner_(owner), name_(std::move(name)), id_(owner.NextControlId()) {
  owner_.Register(this);
}

Timer::~Timer() {
  Stop();
  owner_.Unregister(this);
}

void Timer::SetInterval(unsigned ms) {
  interval_ = ms;
  Start();
}

void Timer::SetEnabled(bool e) {
  enabled_ = e;
  if (e)
    Start();
  else
    Stop();
}

void Timer::Start() {
  if (!enabled_ || interval_ == 0 || !owner_.IsLoaded() || owner_.IsLoading()) {
    Stop();
    return;
  }
  armed_ = SetTimer(owner_.hWnd(), static_cast<UINT_PTR>(id_), interval_, nullptr) != 0;
}

void Timer::Stop() {
  if (armed_ && owner_.hWnd()) KillTimer(owner_.hWnd(), static_cast<UINT_PTR>(id_));
  armed_ = false;
}

void Timer::Tick() {
  if (inTick_ || !enabled_ || owner_.IsLoading()) return;
  inTick_ = true;
  if (TimerEvent) {
    HandlerScope scope(owner_);
    TimerEvent();
  }
  inTick_ = false;
}

}  // namespace forms
