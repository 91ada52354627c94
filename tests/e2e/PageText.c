/* pagetext TITLE: prints the texts of the shown window titled TITLE and of all its visible child windows,
 * one line each, "Class<TAB>text", in UTF-8 (line breaks inside a text become spaces); a checked check box or
 * radio button adds "<TAB>checked", and the line of the control with the keyboard focus ends in "<TAB>focus".
 * Exits 1 when no such window is shown. The e2e scripts recognise a wizard page by its title and these texts. */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

static void print_utf8(const wchar_t *text) {
    char out[8192];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, NULL, NULL);
    if (n <= 0)
        out[0] = 0;
    for (char *p = out; *p; ++p)
        if (*p == '\r' || *p == '\n' || *p == '\t')
            *p = ' ';
    fputs(out, stdout);
}

static HWND focus;

static void print_window(HWND window) {
    wchar_t name[128], text[4096];
    if (!GetClassNameW(window, name, 128))
        name[0] = 0;
    text[0] = 0;
    /* WM_GETTEXT, not GetWindowText: that one does not ask controls of another process. */
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, NULL);
    text[4095] = 0;
    print_utf8(name);
    fputs("\t", stdout);
    print_utf8(text);
    DWORD_PTR check = 0;
    if (lstrcmpiW(name, L"Button") == 0 &&
        SendMessageTimeoutW(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &check) && check == BST_CHECKED)
        fputs("\tchecked", stdout);
    fputs(window == focus ? "\tfocus\n" : "\n", stdout);
}

static BOOL CALLBACK print_child(HWND window, LPARAM unused) {
    (void)unused;
    if (IsWindowVisible(window))
        print_window(window);
    return TRUE;
}

struct search {
    const wchar_t *title;
    HWND found;
};

static BOOL CALLBACK find_top(HWND window, LPARAM data) {
    struct search *s = (struct search *)data;
    wchar_t text[512];
    if (IsWindowVisible(window) && GetWindowTextW(window, text, 512) && wcscmp(text, s->title) == 0) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

int wmain(int argc, wchar_t **argv) {
    if (argc != 2) {
        fputs("usage: pagetext TITLE\n", stderr);
        return 2;
    }
    struct search s = {argv[1], NULL};
    EnumWindows(find_top, (LPARAM)&s);
    if (!s.found) {
        fputs("pagetext: no window with that title is shown\n", stderr);
        return 1;
    }
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(s.found, NULL), &info))
        focus = info.hwndFocus;
    print_window(s.found);
    EnumChildWindows(s.found, print_child, 0);
    return 0;
}
