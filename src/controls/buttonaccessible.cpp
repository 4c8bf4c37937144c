#include "controls/buttonaccessible.h"

#include <oleacc.h>

#include <string>

namespace controls {

namespace {

BSTR ToBstr(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  BSTR b = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (b && n) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), b, n);
  return b;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The button's own answers; every other question goes to the system's standard object.
class ButtonAccessible : public IAccessible {
 public:
  ButtonAccessible(HWND h, IAccessible* standard, bool pressed, bool checked, char key)
      : hwnd_(h), std_(standard), pressed_(pressed), checked_(checked), key_(key) {}
  virtual ~ButtonAccessible() { std_->Release(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG r = InterlockedDecrement(&refs_);
    if (r == 0) delete this;
    return static_cast<ULONG>(r);
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return std_->GetTypeInfoCount(n); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return std_->GetTypeInfo(i, l, t); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return std_->GetIDsOfNames(r, n, c, l, d);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                   UINT* a) override {
    return std_->Invoke(d, r, l, f, p, v, e, a);
  }

  // IAccessible: the button's own answers.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return std_->get_accName(child, name);
    int n = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd_, text.data(), n + 1)));
    *name = ToBstr(CaptionText(text));
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child)) return std_->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_PUSHBUTTON;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!IsSelf(child)) return std_->get_accState(child, state);
    LONG s = STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowEnabled(hwnd_)) s |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(hwnd_)) s |= STATE_SYSTEM_INVISIBLE;
    if (GetFocus() == hwnd_) s |= STATE_SYSTEM_FOCUSED;
    if (pressed_) s |= STATE_SYSTEM_PRESSED;
    if (checked_) s |= STATE_SYSTEM_CHECKED;
    state->vt = VT_I4;
    state->lVal = s;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!IsSelf(child)) return std_->get_accDefaultAction(child, action);
    *action = SysAllocString(L"Press");
    return *action ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child)) return std_->accDoDefaultAction(child);
    // Posted, as a tool in another process would: the click runs in the button's own loop.
    return PostMessageA(hwnd_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    if (!IsSelf(child) || !key_) return std_->get_accKeyboardShortcut(child, keys);
    *keys = ToBstr(std::string("Alt+") + key_);
    return *keys ? S_OK : E_OUTOFMEMORY;
  }

  // IAccessible: the standard object's answers.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return std_->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override { return std_->get_accChildCount(n); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return std_->get_accChild(c, d); }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override { return std_->get_accValue(c, v); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override { return std_->get_accDescription(c, d); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return std_->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override {
    return std_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* f) override { return std_->get_accFocus(f); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* s) override { return std_->get_accSelection(s); }
  HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override { return std_->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* l, LONG* t, LONG* w, LONG* h, VARIANT c) override {
    return std_->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override { return std_->accNavigate(d, s, e); }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override { return std_->accHitTest(x, y, c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return std_->put_accName(c, n); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return std_->put_accValue(c, v); }

 private:
  LONG refs_ = 1;
  HWND hwnd_;
  IAccessible* std_;
  bool pressed_, checked_;
  char key_;
};

}  // namespace

std::string CaptionText(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&x" is x, "&&" is "&"
    else if (caption[i] == '&') continue;                  // a last lone "&" shows nothing
    out += caption[i];
  }
  return out;
}

LRESULT ButtonAccessibleResult(HWND button, WPARAM w, bool pressed, bool checked, char accessKey) {
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(button, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))) ||
      !standard)
    return 0;
  auto* acc = new ButtonAccessible(button, standard, pressed, checked, accessKey);
  LRESULT r = LresultFromObject(IID_IAccessible, w, static_cast<IAccessible*>(acc));
  acc->Release();
  return r;
}

}  // namespace controls
