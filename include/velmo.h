/* velmo: skinned window controls drawn from theme bitmaps.
 *
 * Loading velmo.dll builds the theme from the bitmap files under "bitmap/" in the
 * current directory, or where a file isn't there, under the "bitmap/" beside
 * velmo.dll itself, and registers the window classes below under the host
 * executable's module handle; the host then creates windows of these classes
 * with its own instance handle. Everything runs on the host's UI thread.
 *
 * Records returned by new... functions belong to the caller and go back through
 * the matching delete... function. Theme records and handles belong to the
 * library and are never freed by callers. */
#ifndef VELMO_H
#define VELMO_H

#ifdef __cplusplus
extern "C" {
#endif

/* Hosts on Windows reach the functions and data through the import table, so
 * the address a host takes of a window procedure is the DLL's own, the one the
 * window classes hold. The library itself, and the list's portable builds,
 * declare them plainly. */
#if defined(_WIN32) && !defined(VELMO_BUILDING)
#define VELMO_API __declspec(dllimport)
#else
#define VELMO_API
#endif

/* Linked list of untyped data pointers. The list is handled through its head
 * item; an empty list is one head item whose data is null. The list never owns
 * its data. This part is plain C and builds on any platform. */
typedef struct ListItem ListItem;
struct ListItem {
    ListItem* next;
    void* data;
};

/* A new empty list, or null when memory is exhausted. */
VELMO_API ListItem* newList(void);
/* Frees this one item: neither the items after it nor its data. */
VELMO_API void deleteList(ListItem* item);
/* Stores data in the empty head, else in a new item at the tail; returns the
 * item holding it, or null (list unchanged) when no item could be made. */
VELMO_API ListItem* addToList(ListItem* head, void* data);
/* Removes the item at position (0 = head) and hands its data to release when
 * both are non-null; returns the head that holds afterwards. A list of one item
 * loses its data whatever the position; on longer lists a position out of range
 * changes nothing. */
VELMO_API ListItem* removeFromList(ListItem* head, int position, void (*release)(void*));

#ifdef _WIN32
#include <windows.h>

/* Window classes registered while the library loads, named in both widths:
 * the plain name follows UNICODE, as the system's class names do. Windows of
 * every class keep their text in UTF-16 whichever width a host uses; see the
 * README on text and code pages. */
#define VELMO_WINDOW_CLASSA "VelmoWindow"
#define VELMO_WINDOW_CLASSW L"VelmoWindow"
#define VELMO_BUTTON_CLASSA "VelmoButton"
#define VELMO_BUTTON_CLASSW L"VelmoButton"
#define VELMO_TAB_MENU_CLASSA "VelmoTabMenu"
#define VELMO_TAB_MENU_CLASSW L"VelmoTabMenu"
#define VELMO_LINK_CLASSA "VelmoLink"
#define VELMO_LINK_CLASSW L"VelmoLink"
#define VELMO_FRAME_CLASSA "VelmoFrame"
#define VELMO_FRAME_CLASSW L"VelmoFrame"
#define VELMO_LIST_CLASSA "VelmoList"
#define VELMO_LIST_CLASSW L"VelmoList"
#define VELMO_TABLE_CLASSA "VelmoTable"
#define VELMO_TABLE_CLASSW L"VelmoTable"
#define VELMO_STATIC_CLASSA "VelmoStatic"
#define VELMO_STATIC_CLASSW L"VelmoStatic"
#define VELMO_EDIT_CLASSA "VelmoEdit"
#define VELMO_EDIT_CLASSW L"VelmoEdit"
/* A VelmoEdit style: its field's notifications (EN_CHANGE, EN_SETFOCUS, ...)
 * reach the control's parent as a stock edit's do, with the control's own
 * identifier and handle. Without it they stop at the control. */
#define VELMO_EDIT_NOTIFY 0x4000L
#ifdef UNICODE
#define VELMO_WINDOW_CLASS VELMO_WINDOW_CLASSW
#define VELMO_BUTTON_CLASS VELMO_BUTTON_CLASSW
#define VELMO_TAB_MENU_CLASS VELMO_TAB_MENU_CLASSW
#define VELMO_LINK_CLASS VELMO_LINK_CLASSW
#define VELMO_FRAME_CLASS VELMO_FRAME_CLASSW
#define VELMO_LIST_CLASS VELMO_LIST_CLASSW
#define VELMO_TABLE_CLASS VELMO_TABLE_CLASSW
#define VELMO_STATIC_CLASS VELMO_STATIC_CLASSW
#define VELMO_EDIT_CLASS VELMO_EDIT_CLASSW
#else
#define VELMO_WINDOW_CLASS VELMO_WINDOW_CLASSA
#define VELMO_BUTTON_CLASS VELMO_BUTTON_CLASSA
#define VELMO_TAB_MENU_CLASS VELMO_TAB_MENU_CLASSA
#define VELMO_LINK_CLASS VELMO_LINK_CLASSA
#define VELMO_FRAME_CLASS VELMO_FRAME_CLASSA
#define VELMO_LIST_CLASS VELMO_LIST_CLASSA
#define VELMO_TABLE_CLASS VELMO_TABLE_CLASSA
#define VELMO_STATIC_CLASS VELMO_STATIC_CLASSA
#define VELMO_EDIT_CLASS VELMO_EDIT_CLASSA

/* Styles of the tab menu and the list, in the bits that list-box styles leave
 * to the control (the system's conversion of list-box messages reads only the
 * owner-draw and LBS_HASSTRINGS bits). VELMO_TAB_MENU_SINGLE: a press releases
 * every other tab. VELMO_TAB_MENU_FIT: each tab as wide as its caption needs,
 * at least 70 at 96 DPI. VELMO_LIST_WIDE_ROWS: a row's text runs to 10 pixels
 * before the list's right edge, ending in an ellipsis where it doesn't fit. */
#define VELMO_TAB_MENU_SINGLE 0x0100L
#define VELMO_TAB_MENU_FIT 0x0200L
#define VELMO_LIST_WIDE_ROWS 0x0100L
#endif

/* One tab of a tab menu; caption is the tab's own copy, or null. */
typedef struct Tab {
    char* caption;
    int pressed;
} Tab;

/* A named theme bitmap; bitmap is null when its file was missing or unreadable. */
typedef struct ControlBitmap {
    char* name;
    HBITMAP bitmap;
} ControlBitmap;

/* A named group of theme bitmaps: a list of ControlBitmap records. */
typedef struct ControlBitmapList {
    char* name;
    ListItem* bitmaps;
} ControlBitmapList;

/* Shows each item's data as text in a modal "List item" box, one after another. */
VELMO_API void printList(ListItem* head);

/* Root of the theme registry: a list of ControlBitmapList records. */
extern VELMO_API ListItem* controlBitmaps;
/* The shared font; null until getMainFont first succeeds. */
extern VELMO_API HFONT mainFont;

/* Builds a new registry from the bitmap files and makes it the one that the
 * lookups below search; controls go on drawing the bitmaps that they found
 * first. */
VELMO_API void getBitmaps(void);
VELMO_API ControlBitmapList* newBitmapList(const char* name);
VELMO_API ControlBitmap* newControlBitmap(const char* name, const char* path);
/* Case-sensitive searches; the first match wins, null when there is none. */
VELMO_API ControlBitmapList* findBitmapList(ListItem* head, const char* name);
VELMO_API ControlBitmap* findBitmap(ListItem* head, const char* name);
VELMO_API HBITMAP getControlBitmap(const char* listName, const char* bitmapName);
/* The shared font, made on the first call at the screen's DPI (height 13 at 96 DPI);
   null while it can't be made. */
VELMO_API HFONT getMainFont(void);

/* Checks a theme folder: its theme.ini, its images, its 2x/ and its dark/
 * variant, whatever the appearance. A bare name (no \ or /) is the folder
 * themes\<name> beside velmo.dll; any other path is taken as given, a relative
 * one from the current directory. Returns the number of problems, 0 for a
 * usable theme, or -1 when there is no such folder or no theme.ini in it.
 * report, when not null, receives one line per problem (empty for none), cut
 * to reportSize characters and always terminated. */
VELMO_API int checkTheme(const wchar_t* folder, wchar_t* report, int reportSize);

/* Makes the theme in folder (named as checkTheme names it) the theme of every
 * velmo control of the process, on every thread: they repaint at once, and
 * windows made later start in it. What the theme leaves out comes from the
 * built-in theme; NULL goes back to the built-in theme. On failure returns
 * FALSE and keeps the theme in use; GetLastError says why:
 * ERROR_PATH_NOT_FOUND (no such folder), ERROR_FILE_NOT_FOUND (no theme.ini
 * in it), ERROR_INVALID_DATA (checkTheme finds problems). */
VELMO_API BOOL useTheme(const wchar_t* folder);

/* The same for one window and every velmo control inside it, now and later;
 * it wins over the process's theme, and what it leaves out comes from the
 * built-in theme. NULL makes the window follow the process's theme again.
 * FALSE with ERROR_INVALID_WINDOW_HANDLE for a window that isn't one. */
VELMO_API BOOL useWindowTheme(HWND window, const wchar_t* folder);

/* Registers the classes above; 1 on success, 0 at the first failure. */
VELMO_API int registerClasses(void);

VELMO_API Tab* newTab(const char* caption, int pressed);
VELMO_API void deleteTab(Tab* tab);
VELMO_API void addTabToList(ListItem* head, Tab* tab);

VELMO_API LRESULT CALLBACK dialogWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VELMO_API LRESULT CALLBACK buttonWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VELMO_API LRESULT CALLBACK tabWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VELMO_API LRESULT CALLBACK linkWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VELMO_API LRESULT CALLBACK frameWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VELMO_API LRESULT CALLBACK listWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VELMO_API LRESULT CALLBACK staticWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VELMO_API LRESULT CALLBACK editWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif /* _WIN32 */

#undef VELMO_API

#ifdef __cplusplus
}
#endif

#endif /* VELMO_H */
