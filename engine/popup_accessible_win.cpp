// The pop-up's IAccessible. Its children are simple elements numbered in menu order and
// worked out from the layout on each call, so a menu of 10,000 items allocates nothing per item.
#include "engine/popup_accessible_win.h"

#include <oleacc.h>

#include <cmath>
#include <optional>
#include <string>

#include "engine/menu_children.h"
#include "platform/system_api_win.h"
#include "platform/text_win.h"

namespace engine {
namespace bound {

// The accessibility and COM libraries, loaded when a screen reader first asks: a menu that no
// one reads starts without them.
HRESULT CreateStdAccessibleObject(HWND hwnd, LONG id, REFIID iid, void** out) {
    const auto f = platform::api::CreateStdAccessibleObject();
    return f ? f(hwnd, id, iid, out) : E_NOTIMPL;
}

LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) {
    const auto f = platform::api::LresultFromObject();
    return f ? f(iid, wParam, object) : 0;
}

HRESULT CoDisconnectObject(IUnknown* object, DWORD reserved) {
    const auto f = platform::api::CoDisconnectObject();
    return f ? f(object, reserved) : E_NOTIMPL;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    const auto f = platform::api::SysAllocStringLen();
    return f ? f(text, length) : nullptr;
}

void VariantInit(VARIANT* v) {
    v->vt = VT_EMPTY;
}

}  // namespace bound

class PopupAccessibleObject final : public IAccessible {
public:
    PopupAccessibleObject(HWND hwnd, const MenuModel& model, UINT launchMessage)
        : m_hwnd(hwnd), m_model(&model), m_launchMessage(launchMessage) {}

    // After this every call fails as a vanished server's would; the object lives on only as
    // long as clients hold it.
    void Disconnect() {
        m_model = nullptr;
        m_hwnd = nullptr;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible))) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&m_refs);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) {
            return E_POINTER;
        }
        *parent = nullptr;
        if (!m_model) {
            return RPC_E_DISCONNECTED;
        }
        return bound::CreateStdAccessibleObject(m_hwnd, OBJID_WINDOW, __uuidof(IDispatch),
                                                reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) {
            return E_POINTER;
        }
        if (!m_model) {
            return RPC_E_DISCONNECTED;
        }
        *count = ChildCount(*m_model);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (!m_model) {
            return RPC_E_DISCONNECTED;
        }
        // Every child is a simple element, not an object of its own.
        return Resolve(child).has_value() && ChildId(child) != CHILDID_SELF ? S_FALSE
                                                                            : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) {
            return E_POINTER;
        }
        *name = nullptr;
        std::optional<Target> t;
        if (const HRESULT found = Find(child, t); FAILED(found)) {
            return found;
        }
        if (!t->child) {
            const int length = ::GetWindowTextLengthW(m_hwnd);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            text.resize(
                static_cast<std::size_t>(::GetWindowTextW(m_hwnd, text.data(), length + 1)));
            return Answer(text, name);
        }
        if (t->child->kind == MenuChild::Kind::Separator) {
            return S_FALSE;
        }
        // The full name: a caption may have been shortened to fit.
        return Answer(platform::Widen(CellOf(*t->child).Item.Name), name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return NoText(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) {
            return E_POINTER;
        }
        bound::VariantInit(role);
        std::optional<Target> t;
        if (const HRESULT found = Find(child, t); FAILED(found)) {
            return found;
        }
        role->vt = VT_I4;
        role->lVal = !t->child                                 ? ROLE_SYSTEM_MENUPOPUP
                     : t->child->kind == MenuChild::Kind::Cell ? ROLE_SYSTEM_MENUITEM
                                                               : ROLE_SYSTEM_SEPARATOR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) {
            return E_POINTER;
        }
        bound::VariantInit(state);
        std::optional<Target> t;
        if (const HRESULT found = Find(child, t); FAILED(found)) {
            return found;
        }
        long bits = 0;
        if (!t->child) {
            bits = STATE_SYSTEM_FOCUSABLE;
            if (m_model->CurrentItem() < 0 && ::GetFocus() == m_hwnd) {
                bits |= STATE_SYSTEM_FOCUSED;
            }
        } else {
            if (t->child->kind == MenuChild::Kind::Cell) {
                bits = STATE_SYSTEM_FOCUSABLE;
                if (t->child->index == m_model->CurrentItem()) {
                    bits |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
                }
                const Cell& cell = m_model->Cells()[static_cast<std::size_t>(t->child->index)];
                if (cell.Opens != Submenu::None) {
                    bits |= STATE_SYSTEM_HASPOPUP;
                }
                if (cell.Greyed) {
                    bits |= STATE_SYSTEM_UNAVAILABLE;
                }
            }
            if (ChildOffscreen(*m_model, *t->child, ClientHeight())) {
                bits |= STATE_SYSTEM_OFFSCREEN;
            }
        }
        state->vt = VT_I4;
        state->lVal = bits;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) {
            *file = nullptr;
        }
        if (topic) {
            *topic = 0;
        }
        return m_model ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return NoText(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) {
            return E_POINTER;
        }
        bound::VariantInit(focus);
        if (!m_model) {
            return RPC_E_DISCONNECTED;
        }
        const int current = m_model->CurrentItem();
        if (current >= 0) {
            focus->vt = VT_I4;
            focus->lVal = ChildIdOf(*m_model, {MenuChild::Kind::Cell, current});
            return S_OK;
        }
        if (::GetFocus() == m_hwnd) {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) {
            return E_POINTER;
        }
        bound::VariantInit(selection);
        return m_model ? S_FALSE : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action) {
            return E_POINTER;
        }
        *action = nullptr;
        std::optional<Target> t;
        if (const HRESULT found = Find(child, t); FAILED(found)) {
            return found;
        }
        if (!t->child || t->child->kind != MenuChild::Kind::Cell) {
            return S_FALSE;
        }
        return Answer(L"Open", action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override {
        return m_model ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) {
            return E_POINTER;
        }
        *left = *top = *width = *height = 0;
        std::optional<Target> t;
        if (const HRESULT found = Find(child, t); FAILED(found)) {
            return found;
        }
        RECT r{};
        if (!t->child) {
            ::GetClientRect(m_hwnd, &r);
        } else {
            // Rounded as the painting rounds.
            const Rect twips = ChildRect(*m_model, *t->child);
            r = {Px(twips.Left), Px(twips.Top), Px(twips.Right), Px(twips.Bottom)};
        }
        POINT origin{0, 0};
        ::ClientToScreen(m_hwnd, &origin);
        *left = r.left + origin.x;
        *top = r.top + origin.y;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) {
            return E_POINTER;
        }
        bound::VariantInit(end);
        std::optional<Target> t;
        if (const HRESULT found = Find(start, t); FAILED(found)) {
            return found;
        }
        const long count = ChildCount(*m_model);
        long to = 0;
        if (!t->child) {
            if (direction == NAVDIR_FIRSTCHILD && count > 0) {
                to = 1;
            } else if (direction == NAVDIR_LASTCHILD && count > 0) {
                to = count;
            }
        } else {
            const long id = ChildId(start);
            if ((direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) && id < count) {
                to = id + 1;
            } else if ((direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) && id > 1) {
                to = id - 1;
            }
        }
        if (to == 0) {
            return S_FALSE;
        }
        end->vt = VT_I4;
        end->lVal = to;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) {
            return E_POINTER;
        }
        bound::VariantInit(hit);
        if (!m_model) {
            return RPC_E_DISCONNECTED;
        }
        POINT p{x, y};
        ::ScreenToClient(m_hwnd, &p);
        RECT client{};
        ::GetClientRect(m_hwnd, &client);
        if (!::PtInRect(&client, p)) {
            return S_FALSE;
        }
        const auto tpp = static_cast<float>(m_model->TwipsPerPixel());
        const std::optional<MenuChild> under = ChildOfElement(
            m_model->HitTest(static_cast<float>(p.x) * tpp, static_cast<float>(p.y) * tpp));
        hit->vt = VT_I4;
        hit->lVal = under ? ChildIdOf(*m_model, *under) : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        std::optional<Target> t;
        if (const HRESULT found = Find(child, t); FAILED(found)) {
            return found;
        }
        if (!t->child || t->child->kind != MenuChild::Kind::Cell) {
            return DISP_E_MEMBERNOTFOUND;
        }
        // Posted: the caller gets its answer before the menu launches and ends.
        return ::PostMessageW(m_hwnd, m_launchMessage, static_cast<WPARAM>(t->child->index), 0)
                   ? S_OK
                   : HRESULT_FROM_WIN32(::GetLastError());
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    // The menu itself (no child) or one of its children.
    struct Target {
        std::optional<MenuChild> child;
    };

    static long ChildId(const VARIANT& v) { return v.vt == VT_I4 ? v.lVal : -1; }

    [[nodiscard]] std::optional<Target> Resolve(const VARIANT& v) const {
        if (v.vt != VT_I4) {
            return std::nullopt;
        }
        if (v.lVal == CHILDID_SELF) {
            return Target{};
        }
        std::optional<MenuChild> child = ChildAt(*m_model, v.lVal);
        if (!child) {
            return std::nullopt;
        }
        return Target{child};
    }

    // What every method about a child checks first: the menu is still there, and so is the child.
    HRESULT Find(const VARIANT& v, std::optional<Target>& found) const {
        if (!m_model) {
            return RPC_E_DISCONNECTED;
        }
        found = Resolve(v);
        return found ? S_OK : E_INVALIDARG;
    }

    [[nodiscard]] const Cell& CellOf(const MenuChild& c) const {
        return m_model->Cells()[static_cast<std::size_t>(c.index)];
    }

    [[nodiscard]] int Px(float twips) const {
        return static_cast<int>(
            std::nearbyint(twips / static_cast<float>(m_model->TwipsPerPixel())));
    }

    [[nodiscard]] float ClientHeight() const {
        RECT client{};
        ::GetClientRect(m_hwnd, &client);
        return static_cast<float>(client.bottom) * static_cast<float>(m_model->TwipsPerPixel());
    }

    static HRESULT Answer(const std::wstring& text, BSTR* out) {
        *out = bound::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT NoText(const VARIANT& child, BSTR* out) const {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        std::optional<Target> t;
        const HRESULT found = Find(child, t);
        return FAILED(found) ? found : S_FALSE;
    }

    LONG m_refs = 1;
    HWND m_hwnd;
    const MenuModel* m_model;
    UINT m_launchMessage;
};

PopupAccessibility::PopupAccessibility(const MenuModel& model, UINT launchMessage)
    : m_model(model), m_launchMessage(launchMessage) {}

PopupAccessibility::~PopupAccessibility() {
    Closing(nullptr);
}

LRESULT PopupAccessibility::OnGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    // The object id arrives in the low 32 bits, sign-extended or not.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) {
        return 0;
    }
    if (!m_object) {
        // Marshalling the answer needs COM on this thread.
        platform::StartCom();
        m_object = platform::ComPtr<PopupAccessibleObject>(
            new PopupAccessibleObject(hwnd, m_model, m_launchMessage));
    }
    return bound::LresultFromObject(__uuidof(IAccessible), wParam, m_object.Get());
}

void PopupAccessibility::Shown(HWND hwnd) {
    ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void PopupAccessibility::FocusMoved(HWND hwnd, int cell) {
    const long id = cell >= 0 ? ChildIdOf(m_model, {MenuChild::Kind::Cell, cell}) : CHILDID_SELF;
    ::NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd, OBJID_CLIENT, id);
}

void PopupAccessibility::Closing(HWND hwnd) {
    if (hwnd) {
        ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
    if (!m_object) {
        return;
    }
    m_object->Disconnect();
    // Drops the stubs of other processes' proxies: their calls fail from now on instead of
    // reaching an object that no longer has a window.
    bound::CoDisconnectObject(m_object.Get(), 0);
    m_object.Reset();
}

}  // namespace engine
