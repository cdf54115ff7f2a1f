#include "accessible.h"

#include <oleacc.h>

#include <memory>
#include <vector>

#include "screen_reader_com.h"
#include "system_library.h"

namespace kalvena::win32 {

namespace {

constexpr wchar_t kInfoProperty[] = L"Kalvena.AccessibleInfo";

// The child id of the part whose place in the tab order is `focus`; nothing for another window.
std::optional<LONG> partIdOf(const std::vector<AccessiblePart>& parts, HWND focus) {
  for (std::size_t i = 0; focus && i < parts.size(); ++i) {
    if (parts[i].focus == focus) return static_cast<LONG>(i + 1);
  }
  return std::nullopt;
}

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A control's IAccessible: the name, role, description and value from what the window says of
// the control, everything else from the system's own proxy. It reads the control's description
// afresh on each call, and leaves it all to the proxy once the control is gone.
class Accessible final : public IAccessible {
 public:
  Accessible(HWND hwnd, IAccessible* standard, const Com& c)
      : hwnd_(hwnd), standard_(standard), com_(c) {}
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, IID_IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // The proxy's window and, where the window has no parts of its own, its enumeration of
    // children (with parts, a client counts them and asks for each).
    if (IsEqualIID(riid, IID_IOleWindow) ||
        (IsEqualIID(riid, IID_IEnumVARIANT) && parts().empty())) {
      return standard_->QueryInterface(riid, out);
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    return standard_->GetTypeInfoCount(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(i, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT n, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(riid, names, n, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) override {
    return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argError);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    if (const AccessiblePart* part = partFor(child)) return string(part->name, out);
    const AccessibleInfo* info = infoFor(child);
    if (!info || info->name.empty()) return standard_->get_accName(child, out);
    return string(info->name, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    const AccessibleInfo* info = infoFor(child);
    if (!info || !info->textIsValue) return standard_->get_accValue(child, out);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return string(text, out);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    const AccessibleInfo* info = infoFor(child);
    if (!info) return standard_->get_accDescription(child, out);
    if (!out) return E_POINTER;
    *out = nullptr;
    return info->description.empty() ? S_FALSE : string(info->description, out);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    const AccessiblePart* part = partFor(child);
    const AccessibleInfo* info = infoFor(child);
    const long role = part ? part->role : info ? info->role : 0;
    if (role == 0) return standard_->get_accRole(child, out);
    if (!out) return E_POINTER;
    out->vt = VT_I4;
    out->lVal = role;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
    if (!n) return E_POINTER;
    *n = static_cast<LONG>(parts().size() + childWindows().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (child.vt != VT_I4 || child.lVal < 1) return E_INVALIDARG;
    if (partFor(child)) return S_FALSE;  // a simple element: asked by its id
    const std::vector<HWND> windows = childWindows();
    const auto i = static_cast<std::size_t>(child.lVal) - parts().size() - 1;
    if (i >= windows.size()) return E_INVALIDARG;
    return com_.AccessibleObjectFromWindow(windows[i], static_cast<DWORD>(OBJID_WINDOW),
                                           IID_IDispatch, reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    if (const AccessiblePart* part = partFor(child)) {
      if (!out) return E_POINTER;
      out->vt = VT_I4;
      out->lVal = part->role == ROLE_SYSTEM_STATICTEXT ? STATE_SYSTEM_READONLY : 0;
      if (part->focus) {
        out->lVal |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == part->focus) out->lVal |= STATE_SYSTEM_FOCUSED;
      }
      return S_OK;
    }
    const HRESULT answer = standard_->get_accState(child, out);
    const AccessibleInfo* info = infoFor(child);
    if (SUCCEEDED(answer) && out && out->vt == VT_I4 && info && info->readOnly) {
      out->lVal |= STATE_SYSTEM_READONLY;
    }
    return answer;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return standard_->get_accHelp(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return standard_->get_accKeyboardShortcut(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    // A picture that has the focus is the part of the window that it is.
    if (const std::optional<LONG> id = partIdOf(parts(), GetFocus()); id && out) {
      out->vt = VT_I4;
      out->lVal = *id;
      return S_OK;
    }
    return standard_->get_accFocus(out);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    return standard_->get_accSelection(out);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return standard_->get_accDefaultAction(child, out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h,
                                        VARIANT child) override {
    const AccessiblePart* part = partFor(child);
    if (!part) return standard_->accLocation(x, y, w, h, child);
    if (!x || !y || !w || !h) return E_POINTER;
    POINT origin{part->bounds.left, part->bounds.top};
    ClientToScreen(hwnd_, &origin);
    *x = origin.x;
    *y = origin.y;
    *w = part->bounds.right - part->bounds.left;
    *h = part->bounds.bottom - part->bounds.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    const HRESULT hr = standard_->accHitTest(x, y, out);
    // Over the window itself, the part under the point.
    if (hr != S_OK || !out || out->vt != VT_I4 || out->lVal != CHILDID_SELF) return hr;
    POINT at{x, y};
    ScreenToClient(hwnd_, &at);
    const AccessibleInfo* info = windowInfo();
    if (info && info->partAt) {
      if (const std::optional<std::size_t> i = info->partAt(at.x, at.y)) {
        out->lVal = static_cast<LONG>(*i + 1);
      }
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~Accessible() { standard_->Release(); }

  // What the window says of itself; null once it is gone.
  const AccessibleInfo* windowInfo() const {
    if (!IsWindow(hwnd_)) return nullptr;
    return static_cast<const AccessibleInfo*>(GetPropW(hwnd_, kInfoProperty));
  }
  const std::vector<AccessiblePart>& parts() const {
    static const std::vector<AccessiblePart> none;
    const AccessibleInfo* info = windowInfo();
    return info ? info->parts : none;
  }
  const AccessiblePart* partFor(const VARIANT& child) const {
    const std::vector<AccessiblePart>& p = parts();
    if (child.vt != VT_I4 || child.lVal < 1 || static_cast<std::size_t>(child.lVal) > p.size()) {
      return nullptr;
    }
    return &p[static_cast<std::size_t>(child.lVal) - 1];
  }
  std::vector<HWND> childWindows() const {
    std::vector<HWND> windows;
    if (!IsWindow(hwnd_)) return windows;
    const std::vector<AccessiblePart>& p = parts();
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      // A picture's place in the tab order is heard as the picture, one of the parts.
      if (!partIdOf(p, c)) windows.push_back(c);
    }
    return windows;
  }

  const AccessibleInfo* infoFor(const VARIANT& child) const {
    return isSelf(child) ? windowInfo() : nullptr;
  }
  HRESULT string(const std::wstring& s, BSTR* out) const {
    if (!out) return E_POINTER;
    *out = com_.SysAllocString(s.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  HWND hwnd_;
  IAccessible* standard_;
  const Com& com_;
  ULONG references_ = 1;
};

}  // namespace

void describe(HWND hwnd, AccessibleInfo* info) { SetPropW(hwnd, kInfoProperty, info); }

void forget(HWND hwnd) { RemovePropW(hwnd, kInfoProperty); }

void notifyPartFocus(HWND focus) {
  HWND window = GetParent(focus);
  const auto* info = static_cast<const AccessibleInfo*>(GetPropW(window, kInfoProperty));
  if (!info) return;
  if (const std::optional<LONG> id = partIdOf(info->parts, focus)) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, *id);
  }
}

LRESULT answerGetObject(HWND hwnd, WPARAM wp, LPARAM lp) {
  if (static_cast<LONG>(lp) != OBJID_CLIENT || !GetPropW(hwnd, kInfoProperty)) return 0;
  Com* c = com();
  if (!c) return 0;
  IAccessible* standard = nullptr;
  HRESULT hr = c->CreateStdAccessibleObject(hwnd, static_cast<LONG>(OBJID_CLIENT), IID_IAccessible,
                                            reinterpret_cast<void**>(&standard));
  if (FAILED(hr) || !standard) {
    noteFallback("CreateStdAccessibleObject failed (" + std::to_string(hr) + ")");
    return 0;
  }
  auto* accessible = new Accessible(hwnd, standard, *c);
  const LRESULT answer = c->LresultFromObject(IID_IAccessible, wp, accessible);
  accessible->Release();  // the answer holds its own reference
  if (answer < 0) {
    noteFallback("LresultFromObject failed (" + std::to_string(answer) + ")");
    return 0;
  }
  return answer;
}

LRESULT describedDefault(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETOBJECT) {
    if (const LRESULT answer = answerGetObject(hwnd, wp, lp)) return answer;
  } else if (msg == WM_NCDESTROY) {
    forget(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT describedNext(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, SUBCLASSPROC self) {
  if (msg == WM_GETOBJECT) {
    if (const LRESULT answer = answerGetObject(hwnd, wp, lp)) return answer;
  } else if (msg == WM_NCDESTROY) {
    forget(hwnd);
    unsubclass(hwnd, self);
  }
  return nextProc(hwnd, msg, wp, lp);
}

void endAccessibility() { endCom(); }

}  // namespace kalvena::win32
