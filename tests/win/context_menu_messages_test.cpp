// Context-menu messages reach only the interfaces a menu has, and ComPtr keeps COM's counts.
// clang-format off
#include <windows.h>  // before the other system headers, which need its types
// clang-format on
#include <gtest/gtest.h>
#include <shlobj.h>

#include "platform/shell_menu_win.h"
#include "platform/system_error_win.h"
#include "platform/win32_handles_win.h"

namespace {

// A context menu laid out by hand as COM lays out IContextMenu3, so the slots a plain
// IContextMenu lacks exist and tell when they are called instead of crashing.
struct FakeMenu;
struct FakeMenuSlots {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(FakeMenu*, REFIID, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(FakeMenu*);
    ULONG(STDMETHODCALLTYPE* Release)(FakeMenu*);
    HRESULT(STDMETHODCALLTYPE* QueryContextMenu)(FakeMenu*, HMENU, UINT, UINT, UINT, UINT);
    HRESULT(STDMETHODCALLTYPE* InvokeCommand)(FakeMenu*, CMINVOKECOMMANDINFO*);
    HRESULT(STDMETHODCALLTYPE* GetCommandString)(FakeMenu*, UINT_PTR, UINT, UINT*, CHAR*, UINT);
    HRESULT(STDMETHODCALLTYPE* HandleMenuMsg)(FakeMenu*, UINT, WPARAM, LPARAM);  // IContextMenu2
    HRESULT(STDMETHODCALLTYPE* HandleMenuMsg2)
    (FakeMenu*, UINT, WPARAM, LPARAM,
     LRESULT*);  // IContextMenu3
};

struct FakeMenu {
    const FakeMenuSlots* slots;
    bool has2 = false;
    bool has3 = false;
    bool garbageOnRefusal = false;  // leaves a non-null pointer behind when it says no
    LONG refs = 1;
    int handleMenuMsgCalls = 0;
    int handleMenuMsg2Calls = 0;

    IContextMenu* AsMenu() { return reinterpret_cast<IContextMenu*>(this); }
};

HRESULT STDMETHODCALLTYPE FakeQueryInterface(FakeMenu* self, REFIID iid, void** out) {
    const bool yes = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IContextMenu) ||
                     (self->has2 && IsEqualIID(iid, IID_IContextMenu2)) ||
                     (self->has3 && IsEqualIID(iid, IID_IContextMenu3));
    if (!yes) {
        *out = self->garbageOnRefusal ? reinterpret_cast<void*>(0x10) : nullptr;
        return E_NOINTERFACE;
    }
    *out = self;
    ++self->refs;
    return S_OK;
}
ULONG STDMETHODCALLTYPE FakeAddRef(FakeMenu* self) {
    return static_cast<ULONG>(++self->refs);
}
ULONG STDMETHODCALLTYPE FakeRelease(FakeMenu* self) {
    return static_cast<ULONG>(--self->refs);
}
HRESULT STDMETHODCALLTYPE FakeQueryContextMenu(FakeMenu*, HMENU, UINT, UINT, UINT, UINT) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE FakeInvokeCommand(FakeMenu*, CMINVOKECOMMANDINFO*) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE FakeGetCommandString(FakeMenu*, UINT_PTR, UINT, UINT*, CHAR*, UINT) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE FakeHandleMenuMsg(FakeMenu* self, UINT, WPARAM, LPARAM) {
    ++self->handleMenuMsgCalls;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE FakeHandleMenuMsg2(FakeMenu* self, UINT, WPARAM, LPARAM,
                                             LRESULT* result) {
    ++self->handleMenuMsg2Calls;
    if (result != nullptr) {
        *result = 42;
    }
    return S_OK;
}

constexpr FakeMenuSlots kSlots = {FakeQueryInterface,   FakeAddRef,        FakeRelease,
                                  FakeQueryContextMenu, FakeInvokeCommand, FakeGetCommandString,
                                  FakeHandleMenuMsg,    FakeHandleMenuMsg2};

constexpr UINT kMenuMessages[] = {WM_INITMENUPOPUP, WM_DRAWITEM, WM_MEASUREITEM, WM_MENUCHAR};

// Routes each menu message (and one that is not) through a router made from `fake`; returns
// how many the router said it passed on.
int RouteAll(FakeMenu& fake) {
    ++fake.refs;  // the owner's reference, given to the ComPtr
    const platform::ComPtr<IContextMenu> menu(fake.AsMenu());
    const platform::ContextMenuMessages router(menu);
    int routed = 0;
    for (UINT msg : kMenuMessages) {
        LRESULT result = -1;
        routed += router.Route(msg, 0, 0, result) ? 1 : 0;
    }
    LRESULT result = -1;
    EXPECT_FALSE(router.Route(WM_PAINT, 0, 0, result));
    return routed;
}

TEST(ContextMenuMessages, GoOnlyToTheInterfacesTheMenuHas) {
    // A namespace-extension folder's menu: IContextMenu alone. Nothing may land on the slots
    // it does not have.
    FakeMenu plain{&kSlots};
    EXPECT_EQ(RouteAll(plain), 0);
    EXPECT_EQ(plain.handleMenuMsgCalls, 0);
    EXPECT_EQ(plain.handleMenuMsg2Calls, 0);
    EXPECT_EQ(plain.refs, 1) << "every interface asked for is given back";

    FakeMenu refusing{&kSlots};
    refusing.garbageOnRefusal = true;
    EXPECT_EQ(RouteAll(refusing), 0);
    EXPECT_EQ(refusing.refs, 1);

    // IContextMenu2 takes every menu message but WM_MENUCHAR, which it has no answer for.
    FakeMenu second{&kSlots};
    second.has2 = true;
    EXPECT_EQ(RouteAll(second), 3);
    EXPECT_EQ(second.handleMenuMsgCalls, 3);
    EXPECT_EQ(second.handleMenuMsg2Calls, 0);
    EXPECT_EQ(second.refs, 1);

    // IContextMenu3 takes them all, and its answer is the message's result.
    FakeMenu third{&kSlots};
    third.has2 = third.has3 = true;
    EXPECT_EQ(RouteAll(third), 4);
    EXPECT_EQ(third.handleMenuMsg2Calls, 4);
    EXPECT_EQ(third.handleMenuMsgCalls, 0);
    EXPECT_EQ(third.refs, 1);
}

TEST(ContextMenuMessages, AnEmptyRouterPassesNothingOn) {
    const platform::ContextMenuMessages closed;
    for (UINT msg : kMenuMessages) {
        LRESULT result = -1;
        EXPECT_FALSE(closed.Route(msg, 0, 0, result));
    }
}

TEST(ComPtr, KeepsOneReferenceThroughMovesAndQueries) {
    FakeMenu fake{&kSlots};
    fake.has3 = true;
    {
        platform::ComPtr<IContextMenu> menu(fake.AsMenu());
        platform::ComPtr<IContextMenu> moved(std::move(menu));
        EXPECT_FALSE(menu);
        EXPECT_EQ(fake.refs, 1);
        const auto third = moved.As<IContextMenu3>();
        EXPECT_TRUE(third);
        EXPECT_EQ(fake.refs, 2);
        EXPECT_FALSE(moved.As<IContextMenu2>());
        EXPECT_EQ(fake.refs, 2);
        platform::ComPtr<IContextMenu> other;
        other = std::move(moved);
        EXPECT_EQ(fake.refs, 2);
        // Put empties the owner first: a reused out-parameter leaks nothing.
        *other.Put() = nullptr;
        EXPECT_EQ(fake.refs, 1);
    }
    EXPECT_EQ(fake.refs, 0);
}

TEST(SystemErrorText, IsTheSystemsWordsWithoutALineEnd) {
    const std::string text = platform::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
    EXPECT_TRUE(platform::SystemErrorText(0x2FFFFFFF).empty()) << "no text for no such code";
}

TEST(SystemErrorText, NamesWhatItIsAboutWhereTheSystemsWordsHaveAnInsert) {
    // "Bad EXE format for %1." as the system keeps it; a target holding "%1" is shown as it is.
    const std::string target = "C:\\tools\\100% %1 old.exe";
    const std::string text = platform::SystemErrorText(ERROR_BAD_EXE_FORMAT, {target});
    EXPECT_NE(text.find(target), std::string::npos) << text;
    const std::string bare = platform::SystemErrorText(ERROR_BAD_EXE_FORMAT);
    EXPECT_FALSE(bare.empty());
    EXPECT_EQ(bare.find('%'), std::string::npos) << bare << ": an insert shown as it is kept";
}

}  // namespace
