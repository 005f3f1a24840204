#include "hosts/win32/ViewAccessible.h"

#include "files/win32/Utf16.h"

namespace win32host {

namespace {

// The interface's id, spelled out: the import library's symbol does not
// survive a static link.
const IID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

HRESULT Text(const std::wstring& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = text.empty() ? nullptr : ::SysAllocString(text.c_str());
    return text.empty() ? S_FALSE : (*out ? S_OK : E_OUTOFMEMORY);
}

/// The view's own 8-bit text, in the code page it is typed in.
std::wstring FromCodePage(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(),
                                        int(wide.size()));
    wide.resize(size_t(n > 0 ? n : 0));
    return wide;
}

}  // namespace

ViewAccessible* ViewAccessible::Create(HWND window) {
    IAccessible* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, kIAccessible,
                                           reinterpret_cast<void**>(&standard))) ||
        !standard) {
        return nullptr;
    }
    return new ViewAccessible(window, standard);
}

ViewAccessible::ViewAccessible(HWND window, IAccessible* standard)
    : m_window(window), m_standard(standard) {}

ViewAccessible::~ViewAccessible() { m_standard->Release(); }

void ViewAccessible::Describe(const platform::ViewDescription& description) {
    // File names are UTF-8; everything else is the view's own 8-bit text.
    std::wstring name = files::win32::Widen(description.name);
    std::wstring text = FromCodePage(description.text);
    const bool nameChanged = name != m_name, textChanged = text != m_text;
    m_name = std::move(name);
    m_text = std::move(text);
    if (nameChanged) {
        ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
    }
    if (textChanged) {
        ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
    }
}

LRESULT ViewAccessible::Answer(WPARAM wParam) {
    return ::LresultFromObject(kIAccessible, wParam, this);
}

bool ViewAccessible::IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// ---- IUnknown and IDispatch ------------------------------------------------------

HRESULT ViewAccessible::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ViewAccessible::AddRef() { return ULONG(::InterlockedIncrement(&m_refs)); }

ULONG ViewAccessible::Release() {
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return ULONG(refs);
}

HRESULT ViewAccessible::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return count ? S_OK : E_INVALIDARG;
}
HRESULT ViewAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT ViewAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT ViewAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                               UINT*) {
    return E_NOTIMPL;
}

// ---- The view's own facts --------------------------------------------------------

HRESULT ViewAccessible::get_accName(VARIANT child, BSTR* name) {
    return IsSelf(child) ? Text(m_name, name) : m_standard->get_accName(child, name);
}

HRESULT ViewAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return IsSelf(child) ? Text(m_text, description)
                         : m_standard->get_accDescription(child, description);
}

HRESULT ViewAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!IsSelf(child)) return m_standard->get_accRole(child, role);
    if (!role) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_DOCUMENT;
    return S_OK;
}

// ---- The standard object's --------------------------------------------------------

HRESULT ViewAccessible::get_accParent(IDispatch** parent) {
    return m_standard->get_accParent(parent);
}
HRESULT ViewAccessible::get_accChildCount(LONG* count) {
    return m_standard->get_accChildCount(count);
}
HRESULT ViewAccessible::get_accChild(VARIANT child, IDispatch** object) {
    return m_standard->get_accChild(child, object);
}
HRESULT ViewAccessible::get_accValue(VARIANT child, BSTR* value) {
    return m_standard->get_accValue(child, value);
}
HRESULT ViewAccessible::get_accState(VARIANT child, VARIANT* state) {
    return m_standard->get_accState(child, state);
}
HRESULT ViewAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return m_standard->get_accHelp(child, help);
}
HRESULT ViewAccessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    return m_standard->get_accHelpTopic(file, child, topic);
}
HRESULT ViewAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return m_standard->get_accKeyboardShortcut(child, shortcut);
}
HRESULT ViewAccessible::get_accFocus(VARIANT* child) { return m_standard->get_accFocus(child); }
HRESULT ViewAccessible::get_accSelection(VARIANT* children) {
    return m_standard->get_accSelection(children);
}
HRESULT ViewAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return m_standard->get_accDefaultAction(child, action);
}
HRESULT ViewAccessible::accSelect(LONG flags, VARIANT child) {
    return m_standard->accSelect(flags, child);
}
HRESULT ViewAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                    VARIANT child) {
    return m_standard->accLocation(left, top, width, height, child);
}
HRESULT ViewAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    return m_standard->accNavigate(direction, start, end);
}
HRESULT ViewAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
    return m_standard->accHitTest(x, y, child);
}
HRESULT ViewAccessible::accDoDefaultAction(VARIANT child) {
    return m_standard->accDoDefaultAction(child);
}
HRESULT ViewAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT ViewAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace win32host
