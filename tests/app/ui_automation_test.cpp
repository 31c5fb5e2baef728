// Pelmora.exe as Windows' screen readers and test tools meet it: through UI Automation
// (IUIAutomation, the client interface that Narrator and Windows' test tools use), from another
// process, against the real program as a user starts it.
//
//   ui_automation_tests PELMORA.EXE names|values|announcement
//
// names         every control is found by its name and control type;
// values        after a calculation done with the keyboard, the five fields give the results as
//               their values;
// announcement  the results arrive as a UI Automation notification event.
//
// What the UI Automation of the system it runs on cannot do (Wine's lacks parts of it) is named
// in the output and the check ends with exit code 77, which CTest reports as skipped: nothing
// that was not seen passes.
#include <atomic>
#include <cstdio>
#include <initguid.h>
#include <string>
#include <uiautomation.h>
#include <vector>
#include <windows.h>

namespace {

constexpr int skipped = 77;

void say(const std::wstring &text)
{
    const std::wstring line = text + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), int(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), int(line.size()), bytes.data(), size, nullptr,
                        nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

std::wstring hex(HRESULT result)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lx", static_cast<unsigned long>(result));
    return text;
}

// A COM pointer that releases what it holds.
template <typename T> class Com
{
public:
    Com() = default;
    Com(const Com &) = delete;
    Com &operator=(const Com &) = delete;
    ~Com()
    {
        if (m_p)
            m_p->Release();
    }
    T **out() { return &m_p; }
    T *operator->() const { return m_p; }
    T *get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T *m_p = nullptr;
};

std::wstring takeString(BSTR text)
{
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

struct ControlType
{
    CONTROLTYPEID id;
    const wchar_t *name;
};

constexpr ControlType controlTypes[] = {
    {UIA_ButtonControlTypeId, L"Button"}, {UIA_RadioButtonControlTypeId, L"RadioButton"},
    {UIA_EditControlTypeId, L"Edit"},     {UIA_DocumentControlTypeId, L"Document"},
    {UIA_ImageControlTypeId, L"Image"},   {UIA_GroupControlTypeId, L"Group"},
    {UIA_TextControlTypeId, L"Text"},     {UIA_PaneControlTypeId, L"Pane"},
    {UIA_WindowControlTypeId, L"Window"}, {UIA_ScrollBarControlTypeId, L"ScrollBar"},
};

std::wstring typeName(CONTROLTYPEID id)
{
    for (const ControlType &type : controlTypes) {
        if (type.id == id)
            return type.name;
    }
    return L"type " + std::to_wstring(id);
}

// The controls of the window, as a screen reader names them. The explanation is a read-only
// multi-line text field, which Qt gives Windows as an Edit (read-only through its Value pattern).
struct Expected
{
    const wchar_t *name;
    CONTROLTYPEID type;
};
constexpr Expected expectedControls[] = {
    {L"Десетично в Грей", UIA_RadioButtonControlTypeId},
    {L"Грей в десетично", UIA_RadioButtonControlTypeId},
    {L"Десетично число", UIA_EditControlTypeId},
    {L"Двоично число", UIA_EditControlTypeId},
    {L"Преместване", UIA_EditControlTypeId},
    {L"Двоично Грей", UIA_EditControlTypeId},
    {L"Десетично Грей", UIA_EditControlTypeId},
    {L"Изчисли", UIA_ButtonControlTypeId},
    {L"Изчисти", UIA_ButtonControlTypeId},
    {L"Кодиращ диск", UIA_ImageControlTypeId},
    {L"Обяснение на кода на Грей", UIA_EditControlTypeId},
};

// What a calculation of 5 from decimal to Gray shows, field by field, and says.
constexpr const wchar_t *results[] = {L"5", L"101", L"010", L"111", L"7"};
constexpr const wchar_t *announcedResults =
    L"Десетично число 5, двоично 101, преместване 010, двоично Грей 111, десетично Грей 7";

struct Control
{
    std::wstring name;
    CONTROLTYPEID type;
};

// The program under test, started as a user starts it, and its window.
class Program
{
public:
    explicit Program(const std::wstring &path)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + path + L"\"";
        if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &m_process))
            return;
        for (int i = 0; i < 600 && !m_window; ++i) {
            EnumWindows(&Program::visit, reinterpret_cast<LPARAM>(this));
            if (!m_window)
                Sleep(100);
        }
        // Let it finish painting and settle before anything asks it.
        Sleep(1000);
    }
    ~Program()
    {
        if (m_process.hProcess) {
            TerminateProcess(m_process.hProcess, 0);
            WaitForSingleObject(m_process.hProcess, 10000);
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
    }
    HWND window() const { return m_window; }

private:
    static BOOL CALLBACK visit(HWND window, LPARAM self)
    {
        auto *program = reinterpret_cast<Program *>(self);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != program->m_process.dwProcessId || !IsWindowVisible(window) ||
            GetWindowTextLengthW(window) == 0)
            return TRUE;
        program->m_window = window;
        return FALSE;
    }

    PROCESS_INFORMATION m_process{};
    HWND m_window = nullptr;
};

void press(WORD key)
{
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(150);
}

class Client
{
public:
    explicit Client(HWND window)
    {
        m_ready = SUCCEEDED(CoCreateInstance(CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IUIAutomation,
                                             reinterpret_cast<void **>(m_automation.out()))) &&
                  SUCCEEDED(m_automation->ElementFromHandle(window, m_window.out())) && m_window;
    }
    bool ready() const { return m_ready; }
    IUIAutomation *automation() const { return m_automation.get(); }
    IUIAutomationElement *window() const { return m_window.get(); }

    std::vector<Control> controls() const
    {
        std::vector<Control> found;
        Com<IUIAutomationElementArray> elements;
        const int count = all(elements);
        for (int i = 0; i < count; ++i) {
            Com<IUIAutomationElement> element;
            if (SUCCEEDED(elements->GetElement(i, element.out())) && element)
                found.push_back(describe(element.get()));
        }
        return found;
    }

    // The first control of the window with this name and type, or null. Looked for among all of
    // them rather than with a property condition, which Wine's FindFirst does not match.
    bool find(const Expected &control, IUIAutomationElement **element) const
    {
        *element = nullptr;
        Com<IUIAutomationElementArray> elements;
        const int count = all(elements);
        for (int i = 0; i < count && !*element; ++i) {
            IUIAutomationElement *candidate = nullptr;
            if (FAILED(elements->GetElement(i, &candidate)) || !candidate)
                continue;
            const Control seen = describe(candidate);
            if (seen.name == control.name && seen.type == control.type)
                *element = candidate;
            else
                candidate->Release();
        }
        return *element != nullptr;
    }

    static Control describe(IUIAutomationElement *element)
    {
        BSTR name = nullptr;
        CONTROLTYPEID type = 0;
        element->get_CurrentName(&name);
        element->get_CurrentControlType(&type);
        return {takeString(name), type};
    }

private:
    int all(Com<IUIAutomationElementArray> &elements) const
    {
        Com<IUIAutomationCondition> any;
        int count = 0;
        if (FAILED(m_automation->CreateTrueCondition(any.out())) ||
            FAILED(m_window->FindAll(TreeScope_Descendants, any.get(), elements.out())) ||
            !elements || FAILED(elements->get_Length(&count)))
            return 0;
        return count;
    }

    Com<IUIAutomation> m_automation;
    Com<IUIAutomationElement> m_window;
    bool m_ready = false;
};

// Focuses the window and does what a user does with the keyboard alone: from the explanation,
// where the focus starts, Tab to the direction button and on to the input field, type 5, Tab past
// the three result fields to "Изчисли" and press Space.
void calculateWithKeyboard(HWND window)
{
    SetForegroundWindow(window);
    Sleep(500);
    for (WORD key : {WORD(VK_TAB), WORD(VK_TAB), WORD('5'), WORD(VK_TAB), WORD(VK_TAB),
                     WORD(VK_TAB), WORD(VK_TAB), WORD(VK_SPACE)})
        press(key);
    Sleep(1000);
}

int checkNames(const Client &client)
{
    const std::vector<Control> found = client.controls();
    say(L"The window holds " + std::to_wstring(found.size()) + L" elements:");
    for (const Control &control : found)
        say(L"  \"" + control.name + L"\" " + typeName(control.type));
    int missing = 0;
    for (const Expected &expected : expectedControls) {
        bool named = false;
        bool typed = false;
        for (const Control &control : found) {
            named = named || control.name == expected.name;
            typed = typed || (control.name == expected.name && control.type == expected.type);
        }
        if (typed)
            continue;
        ++missing;
        say(std::wstring(L"FAIL: no ") + typeName(expected.type) + L" named \"" + expected.name +
            L"\"" + (named ? L" (an element of that name has another control type)" : L""));
    }
    if (missing)
        return 1;
    say(L"PASS: all " + std::to_wstring(std::size(expectedControls)) +
        L" controls found by name and control type");
    return 0;
}

// A field's value, as a screen reader reads it: through the Value pattern, or else as the
// Value.Value property, which UI Automation answers from the same pattern.
bool readValue(IUIAutomationElement *element, std::wstring &value)
{
    Com<IUIAutomationValuePattern> pattern;
    BSTR text = nullptr;
    if (SUCCEEDED(element->GetCurrentPatternAs(UIA_ValuePatternId, IID_IUIAutomationValuePattern,
                                               reinterpret_cast<void **>(pattern.out()))) &&
        pattern && SUCCEEDED(pattern->get_CurrentValue(&text))) {
        value = takeString(text);
        return true;
    }
    VARIANT property{};
    if (SUCCEEDED(element->GetCurrentPropertyValue(UIA_ValueValuePropertyId, &property)) &&
        property.vt == VT_BSTR) {
        value = std::wstring(property.bstrVal, SysStringLen(property.bstrVal));
        VariantClear(&property);
        return true;
    }
    VariantClear(&property);
    return false;
}

int checkValues(const Client &client, HWND window)
{
    calculateWithKeyboard(window);
    int wrong = 0;
    int unreadable = 0;
    for (size_t i = 0; i < std::size(results); ++i) {
        const Expected &field = expectedControls[2 + i];
        Com<IUIAutomationElement> element;
        if (!client.find(field, element.out())) {
            say(std::wstring(L"FAIL: no Edit named \"") + field.name + L"\"");
            ++wrong;
            continue;
        }
        std::wstring got;
        if (!readValue(element.get(), got)) {
            say(std::wstring(L"  \"") + field.name + L"\": no Value pattern or property");
            ++unreadable;
            continue;
        }
        const bool right = got == results[i];
        say(std::wstring(right ? L"  " : L"FAIL: ") + L"\"" + field.name + L"\" is \"" + got +
            L"\"" + (right ? L"" : std::wstring(L", not \"") + results[i] + L"\""));
        wrong += right ? 0 : 1;
    }
    if (wrong)
        return 1;
    if (unreadable) {
        say(L"SKIP: this system's UI Automation gives neither the Value pattern nor the Value "
            L"property for " +
            std::to_wstring(unreadable) + L" of the fields");
        return skipped;
    }
    say(L"PASS: the five results read as the fields' values");
    return 0;
}

// Records the notifications that a screen reader would speak.
class NotificationRecorder : public IUIAutomationNotificationEventHandler
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (id == IID_IUnknown || id == __uuidof(IUIAutomationNotificationEventHandler)) {
            *object = static_cast<IUIAutomationNotificationEventHandler *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE HandleNotificationEvent(IUIAutomationElement *, NotificationKind,
                                                      NotificationProcessing, BSTR text,
                                                      BSTR) override
    {
        EnterCriticalSection(&m_lock);
        m_heard.emplace_back(text ? text : L"");
        LeaveCriticalSection(&m_lock);
        return S_OK;
    }

    NotificationRecorder() { InitializeCriticalSection(&m_lock); }
    virtual ~NotificationRecorder() { DeleteCriticalSection(&m_lock); }
    std::vector<std::wstring> heard()
    {
        EnterCriticalSection(&m_lock);
        std::vector<std::wstring> copy = m_heard;
        LeaveCriticalSection(&m_lock);
        return copy;
    }

private:
    std::atomic<ULONG> m_references{1};
    CRITICAL_SECTION m_lock;
    std::vector<std::wstring> m_heard;
};

int checkAnnouncement(const Client &client, HWND window)
{
    Com<IUIAutomation5> automation;
    if (FAILED(client.automation()->QueryInterface(__uuidof(IUIAutomation5),
                                                   reinterpret_cast<void **>(automation.out())))) {
        say(L"SKIP: this system's UI Automation has no IUIAutomation5, so no notification events");
        return skipped;
    }
    NotificationRecorder recorder;
    const HRESULT added = automation->AddNotificationEventHandler(
        client.window(), TreeScope_Subtree, nullptr, &recorder);
    if (added == E_NOTIMPL) {
        say(L"SKIP: this system's UI Automation does not deliver notification events "
            L"(AddNotificationEventHandler: E_NOTIMPL)");
        return skipped;
    }
    if (FAILED(added)) {
        say(L"FAIL: AddNotificationEventHandler failed with " + hex(added));
        return 1;
    }
    calculateWithKeyboard(window);
    std::vector<std::wstring> heard;
    for (int i = 0; i < 50 && heard.empty(); ++i) {
        Sleep(100);
        heard = recorder.heard();
    }
    automation->RemoveNotificationEventHandler(client.window(), &recorder);
    for (const std::wstring &text : heard)
        say(L"  heard \"" + text + L"\"");
    if (heard.size() == 1 && heard.front() == announcedResults) {
        say(L"PASS: the results were announced once, as a notification");
        return 0;
    }
    if (heard.empty()) {
        say(std::wstring(L"FAIL: no notification within 5 s; expected \"") + announcedResults +
            L"\"");
        return 1;
    }
    say(std::wstring(L"FAIL: expected one notification \"") + announcedResults + L"\"");
    return 1;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const std::wstring check = argc == 3 ? argv[2] : L"";
    if (check != L"names" && check != L"values" && check != L"announcement") {
        say(L"usage: ui_automation_tests PELMORA.EXE names|values|announcement");
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 1;
    int result = 1;
    {
        Program program(argv[1]);
        if (!program.window()) {
            say(L"FAIL: the program showed no window within 60 s");
            return 1;
        }
        Client client(program.window());
        if (!client.ready()) {
            say(L"SKIP: this system has no UI Automation client (CUIAutomation)");
            return skipped;
        }
        if (check == L"names")
            result = checkNames(client);
        else if (check == L"values")
            result = checkValues(client, program.window());
        else
            result = checkAnnouncement(client, program.window());
    }
    CoUninitialize();
    return result;
}
